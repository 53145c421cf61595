#pragma once

#include "slip/SaveType.h"

#include <QDialog>

class MessageService;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

// "テンプレート保存": asks for the category and the name of a new template.
class TTempSaveForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TTempSaveForm)
public:
    // messages must outlive the dialog.
    explicit TTempSaveForm(MessageService &messages, QWidget *parent = nullptr);

    TSlipSaveType category() const { return category_; }
    QString name() const;

    void accept() override;

    QTreeWidget *TreeView1 = nullptr;
    QPlainTextEdit *Memo1 = nullptr;
    QLineEdit *Edit1 = nullptr;
    QPushButton *Button1 = nullptr; // キャンセル
    QPushButton *Button2 = nullptr; // 保存
    QPushButton *Button4 = nullptr; // ヘルプ

private:
    void selectCategory(int category);

    MessageService &messages_;
    TSlipSaveType category_ = sstCustomer;
};
