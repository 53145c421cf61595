#include "TPrintOptionSaveForm.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TPrintOptionSaveForm::TPrintOptionSaveForm(const QStringList &names, QWidget *parent) : QDialog(parent)
{
    setWindowTitle(u"自社名印刷設定の保存"_s);
    ComboBox1 = new QComboBox;
    ComboBox1->setEditable(true);
    ComboBox1->addItems(names);
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setMinimumWidth(260);
    auto *label = new QLabel(u"現在の設定に付ける名前"_s);
    label->setBuddy(ComboBox1);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Cancel)->setText(u"キャンセル"_s);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(ComboBox1);
    layout->addWidget(buttons);
}

QString TPrintOptionSaveForm::name() const
{
    return ComboBox1->currentText().trimmed();
}
