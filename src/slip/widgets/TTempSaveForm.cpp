#include "TTempSaveForm.h"

#include "TTemplateForm.h"
#include "controls/widgets/HelpButton.h"
#include "platform/MessageService.h"
#include "slip/Templates.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TTempSaveForm::TTempSaveForm(MessageService &messages, QWidget *parent) : QDialog(parent), messages_(messages)
{
    setObjectName(u"TempSaveForm"_s);
    setWindowTitle(u"テンプレート保存"_s);

    auto *intro = new QLabel(u"新しいテンプレートの登録カテゴリと、名称を入力してください。"_s, this);

    auto *group = new QGroupBox(u"登録カテゴリ(&C)"_s, this);
    TreeView1 = new QTreeWidget(group);
    TreeView1->setObjectName(u"TreeView1"_s);
    TreeView1->setHeaderHidden(true);
    TreeView1->setRootIsDecorated(false);
    for (int c = sstCustomer; c <= sstSlip; ++c)
        new QTreeWidgetItem(TreeView1, {Templates::categoryLabel(c)}, c);
    for (int i = 0; i < TreeView1->topLevelItemCount(); ++i)
        TreeView1->topLevelItem(i)->setIcon(0, templateCategoryIcon(i + 1));
    group->setFocusProxy(TreeView1);

    auto *memoLabel = new QLabel(u"カテゴリの説明"_s, group);
    Memo1 = new QPlainTextEdit(group);
    Memo1->setObjectName(u"Memo1"_s);
    Memo1->setReadOnly(true);
    Memo1->setFocusPolicy(Qt::NoFocus);
    auto *memoColumn = new QVBoxLayout;
    memoColumn->addWidget(memoLabel);
    memoColumn->addWidget(Memo1);
    auto *groupLayout = new QHBoxLayout(group);
    groupLayout->addWidget(TreeView1, 1);
    groupLayout->addLayout(memoColumn, 1);

    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(u"Edit1"_s);
    auto *nameLabel = new QLabel(u"名称(&N)"_s, this);
    nameLabel->setBuddy(Edit1);
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(nameLabel);
    nameRow->addWidget(Edit1, 1);

    auto *buttons = new QDialogButtonBox(this);
    Button2 = buttons->addButton(u"保存"_s, QDialogButtonBox::AcceptRole);
    Button2->setObjectName(u"Button2"_s);
    Button2->setDefault(true);
    Button1 = buttons->addButton(u"キャンセル"_s, QDialogButtonBox::RejectRole);
    Button1->setObjectName(u"Button1"_s);
    Button4 = buttons->addButton(u"ヘルプ(&H)"_s, QDialogButtonBox::HelpRole);
    Button4->setObjectName(u"Button4"_s);
    connectHelpButton(Button4, 45);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addWidget(group, 1);
    layout->addLayout(nameRow);
    layout->addWidget(buttons);

    connect(TreeView1, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem *item) {
        if (item)
            selectCategory(item->type());
    });
    TreeView1->setCurrentItem(TreeView1->topLevelItem(0));
    selectCategory(sstCustomer);
    resize(460, 300);
    Edit1->setFocus();
}

QString TTempSaveForm::name() const
{
    return Edit1->text();
}

void TTempSaveForm::selectCategory(int category)
{
    category_ = TSlipSaveType(category);
    Memo1->setPlainText(Templates::categoryDescription(category));
}

void TTempSaveForm::accept()
{
    if (Edit1->text().isEmpty()) {
        messages_.show(MessageService::Kind::Information, u"名称を入力してください"_s);
        Edit1->setFocus();
        return;
    }
    QDialog::accept();
}
