#include "TTaxGuideForm.h"

#include "TTaxGridFrame.h"
#include "controls/widgets/TSizeGrip.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

const QString EditCaption = QStringLiteral("編集(&E)");

} // namespace

TTaxGuideForm::TTaxGuideForm(const QString &appFolder, MessageService &messages, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(QStringLiteral("選択"));
    setSizeGripEnabled(false);
    setMinimumSize(320, 240);
    resize(520, 360);

    TaxGridFrame1 = new TTaxGridFrame(appFolder, messages, this);
    EditButton = new QPushButton(EditCaption, this);
    EditButton->setAutoDefault(false);
    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setDefault(true);
    CancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelButton->setAutoDefault(false);

    auto *bar = new QHBoxLayout;
    bar->setContentsMargins(8, 4, 16, 8);
    bar->addWidget(EditButton);
    bar->addStretch(1);
    bar->addWidget(OKButton);
    bar->addWidget(CancelButton);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(TaxGridFrame1, 1);
    layout->addLayout(bar);
    // The grip places itself in the lower right corner and stays there.
    new TSizeGrip(this);

    connect(EditButton, &QPushButton::clicked, this, &TTaxGuideForm::EditButtonClick);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TTaxGuideForm::SetTableKind(int kind)
{
    TaxGridFrame1->SetTableKind(kind);
}

qint64 TTaxGuideForm::selectedAmount() const
{
    return TaxGridFrame1->selectedAmount();
}

void TTaxGuideForm::EditButtonClick()
{
    const bool on = !TaxGridFrame1->editing();
    TaxGridFrame1->SetEditing(on);
    EditButton->setText(on ? QStringLiteral("編集終了(&E)") : EditCaption);
    OKButton->setEnabled(!on);
    TaxGridFrame1->StringGrid1->setFocus();
}

void TTaxGuideForm::done(int result)
{
    // No amount is picked from a table that is being edited.
    if (result == Accepted && !OKButton->isEnabled())
        return;
    TaxGridFrame1->saveTable();
    QDialog::done(result);
}

std::optional<qint64> TTaxGuideForm::pick(const QString &appFolder, MessageService &messages, int kind,
                                          QWidget *parent)
{
    TTaxGuideForm dialog(appFolder, messages, parent);
    dialog.SetTableKind(kind);
    if (dialog.exec() != Accepted)
        return std::nullopt;
    return dialog.selectedAmount();
}
