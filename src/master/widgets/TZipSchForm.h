#pragma once

#include "master/ZipDictionary.h"

#include <QDialog>
#include <QStringList>

class MessageService;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

// "郵便番号検索": searches the usable postal-code dictionaries for a code
// prefix or address text and hands the chosen record back. The search runs
// on the user-interface thread; it lets the window handle input every few
// milliseconds, so that "検索中止" answers at once.
class TZipSchForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TZipSchForm)
public:
    // appDir: the application folder. messages asks "中止しますか?" and must
    // outlive the dialog.
    TZipSchForm(const QString &appDir, MessageService &messages, QWidget *parent = nullptr);

    // The preset keyword: shown in the keyword field and searched for on the
    // dialog's first activation.
    void setKeyword(const QString &keyword);

    // The selected record (empty without a selection).
    const ZipRecord &selected() const { return selected_; }
    // The dictionaries this dialog searches: the listed ones that exist.
    const QStringList &dictionaries() const { return dictionaries_; }
    bool isSearching() const { return searching_; }
    // How often a running search lets the window take input; 15 ms by
    // default, well within what a person notices.
    void setInputInterval(qint64 ms) { inputIntervalMs_ = ms; }

    // 検索 / 再検索 starts a search with the keyword field; 検索中止 asks
    // the running search to stop.
    void Button3Click();

    QLineEdit *Edit1 = nullptr;       // キーワード
    QTreeWidget *ListView1 = nullptr; // results
    QPushButton *Button1 = nullptr;   // キャンセル
    QPushButton *Button2 = nullptr;   // OK
    QPushButton *Button3 = nullptr;   // 検索 / 検索中止 / 再検索
    QPushButton *Button4 = nullptr;   // ヘルプ
    QLabel *Label1 = nullptr;         // progress and count
    QLabel *Label3 = nullptr;         // the dictionary being searched

    // Closing waits for a running search to end.
    void done(int result) override;

protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void search(const QString &keyword);
    void selectionChanged();

    QString appDir_;
    MessageService &messages_;
    QStringList dictionaries_;
    QString preset_;
    bool presetDone_ = false;
    bool searching_ = false;
    bool stopRequested_ = false;
    qint64 inputIntervalMs_ = 15;
    ZipRecord selected_;
};
