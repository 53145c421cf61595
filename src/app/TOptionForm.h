#pragma once

#include <QDialog>

class MessageService;
class QPushButton;
class QStackedWidget;
class QTreeWidget;
class QTreeWidgetItem;
class TCarFrame;
class TDefPrintFrame;
class TDispFrame;
class TFrame1;
class TMasterFrame;
class TMemoOptFrame;
class TTaxGridFrame;
class TZipOptFrame;

// The options dialog: a tree of topics on the left and, for the selected
// topic, its page on the right. A topic whose page is not built into the
// program is left out of the tree.
class TOptionForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TOptionForm)
public:
    // The pages a node can show.
    enum class Page { None, Display, Print, Zip, Memo, Car, MasterList, TaxTable, Items };

    TOptionForm(const QString &appDir, const QString &settingsPath, MessageService &messages,
                QWidget *parent = nullptr);
    ~TOptionForm() override;

    // The page of a node, by its text and level.
    static Page pageOf(const QString &text, int level);
    // The help topic of a page; the dialog's own (24) for Page::None.
    static int helpTopic(Page page);
    // The widget of a page, or null when the program has none.
    QWidget *pageWidget(Page page) const;
    // The page shown now, or null.
    QWidget *currentPage() const;
    // Selects the node with this text; false when there is none.
    bool selectNode(const QString &text);

    void Button1Click(); // OK: saves every page, then closes

    void done(int result) override;

    QTreeWidget *TreeView1 = nullptr;
    QStackedWidget *Pages = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;
    TDispFrame *DispFrame1 = nullptr;
    TDefPrintFrame *DefPrintFrame1 = nullptr;
    TMemoOptFrame *MemoOptFrame1 = nullptr;
    TTaxGridFrame *TaxGridFrame1 = nullptr;
    TFrame1 *Frame11 = nullptr;
    TZipOptFrame *ZipOptFrame1 = nullptr;
    TCarFrame *CarFrame1 = nullptr;
    TMasterFrame *MasterFrame1 = nullptr;

Q_SIGNALS:
    // ヘルプ(&H) with a page shown: its topic number.
    void helpRequested(int topic);

private:
    void buildTree();
    void showPageOf(QTreeWidgetItem *item);
    void showFailure(const QString &error);

    MessageService &messages_;
    QWidget *blank_ = nullptr;
};
