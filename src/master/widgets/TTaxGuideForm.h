#pragma once

#include <QDialog>

#include <optional>

class MessageService;
class QPushButton;
class TTaxGridFrame;

// The dialog "選択" that shows one kind of amount table and returns the
// amount the user picked. "編集(&E)" switches the table into edit mode (OK is
// disabled meanwhile). Closing the dialog saves a changed table.
class TTaxGuideForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TTaxGuideForm)
public:
    // appFolder: the folder that holds Dat/. messages: the table's boxes; it
    // must outlive the dialog.
    TTaxGuideForm(const QString &appFolder, MessageService &messages, QWidget *parent = nullptr);

    TTaxGridFrame *TaxGridFrame1;
    QPushButton *EditButton;
    QPushButton *OKButton;
    QPushButton *CancelButton;

    // 1 insurance, 2 weight tax.
    void SetTableKind(int kind);
    // The integer in the table's current cell, 0 when it holds none.
    qint64 selectedAmount() const;

    // Shows the dialog for kind modally; the picked amount on OK.
    static std::optional<qint64> pick(const QString &appFolder, MessageService &messages, int kind,
                                      QWidget *parent);

    void done(int result) override;

private:
    void EditButtonClick();
};
