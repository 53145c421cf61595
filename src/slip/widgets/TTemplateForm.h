#pragma once

#include <QDialog>

class MessageService;
class QPushButton;
class QTreeWidget;

// The small icon of a template category (1..5); a null icon otherwise.
QIcon templateCategoryIcon(int category);

// "テンプレートの選択": lists the templates of a category, opens or deletes one.
class TTemplateForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TTemplateForm)
public:
    // folder: the template folder; messages must outlive the dialog.
    TTemplateForm(const QString &folder, MessageService &messages, QWidget *parent = nullptr);

    // After OK: the chosen template's full path and its category (0 when the
    // file names no known category).
    QString path() const { return path_; }
    int category() const { return category_; }

    // Rebuilds the list for the tree entry (0 全て表示, 1..5 the categories).
    void fill(int filter);
    // Opens the selected entry: nothing happens without a selection.
    void openSelected();
    // Asks, then deletes the selected template and drops its entry.
    void deleteSelected();

    QTreeWidget *TreeView1 = nullptr;
    QTreeWidget *ListView1 = nullptr;
    QPushButton *Button1 = nullptr; // キャンセル
    QPushButton *Button2 = nullptr; // 開く
    QPushButton *Button3 = nullptr; // 削除
    QPushButton *Button4 = nullptr; // ヘルプ

    static constexpr int NameColumnWidth = 180;

protected:
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void layoutColumns();
    void updateButtons();

    QString folder_;
    MessageService &messages_;
    QString path_;
    int category_ = 0;
};
