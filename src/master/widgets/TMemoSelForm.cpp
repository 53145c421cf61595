#include "TMemoSelForm.h"

#include "TMemoGrid.h"
#include "controls/widgets/HelpButton.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TMemoSelForm::TMemoSelForm(const QString &memoFile, QWidget *parent) : QDialog(parent)
{
    setObjectName(u"MemoSelForm"_s);
    setWindowTitle(u"備考欄テンプレート選択"_s);

    StringGrid2 = new TMemoGrid(this);
    StringGrid2->setObjectName(u"StringGrid2"_s);
    StringGrid2->setNotes(MemoOptions::read(memoFile).notes);
    StringGrid2->showFirstColumnOnly();

    auto *buttons = new QDialogButtonBox(this);
    Button2 = buttons->addButton(u"OK"_s, QDialogButtonBox::AcceptRole);
    Button2->setObjectName(u"Button2"_s);
    Button2->setDefault(true);
    Button1 = buttons->addButton(u"キャンセル"_s, QDialogButtonBox::RejectRole);
    Button1->setObjectName(u"Button1"_s);
    Button4 = buttons->addButton(u"ヘルプ(&H)"_s, QDialogButtonBox::HelpRole);
    Button4->setObjectName(u"Button4"_s);
    connectHelpButton(Button4, 44);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(StringGrid2, &QTableWidget::cellDoubleClicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid2, 1);
    layout->addWidget(buttons);
    resize(450, 320);
    StringGrid2->setFocus();
}

MemoOptions::Note TMemoSelForm::note() const
{
    const int row = StringGrid2->currentRow();
    return row >= 0 ? StringGrid2->note(row) : MemoOptions::Note{};
}
