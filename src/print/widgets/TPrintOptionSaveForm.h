#pragma once

#include <QDialog>

class QComboBox;

// "自社名印刷設定の保存": asks for the name of the setting being saved,
// offering the existing names.
class TPrintOptionSaveForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPrintOptionSaveForm)
public:
    explicit TPrintOptionSaveForm(const QStringList &names, QWidget *parent = nullptr);
    QString name() const;

    QComboBox *ComboBox1 = nullptr;
};
