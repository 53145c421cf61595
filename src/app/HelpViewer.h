#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;
class QSplitter;
class QTextBrowser;
class QToolBar;

// The help window: the pages in a browser with back, forward and contents,
// and a keyword search whose hits list beside the page. Non-modal; the main
// window keeps one and brings it to the front for every request.
class HelpViewer : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpViewer)
public:
    // folder: the help folder (HelpTopics::folder).
    explicit HelpViewer(const QString &folder, QWidget *parent = nullptr);

    void showContents();
    // The page of a topic number; the contents for an unknown one.
    void showTopic(int topic);
    // Shows the search field, with words searched at once when given.
    void showSearch(const QString &words = {});
    // A page by its file name below the folder (an anchor may follow).
    void showPage(const QString &page);

    QTextBrowser *browser() const { return Browser; }
    QListWidget *hitList() const { return HitList; }
    QLineEdit *searchField() const { return SearchEdit; }

private:
    void runSearch();
    void present();

    QString folder_;
    QToolBar *Bar = nullptr;
    QLineEdit *SearchEdit = nullptr;
    QListWidget *HitList = nullptr;
    QWidget *SearchPanel = nullptr;
    QSplitter *Split = nullptr;
    QTextBrowser *Browser = nullptr;
};
