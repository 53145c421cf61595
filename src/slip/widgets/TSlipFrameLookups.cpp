// The header editor's lookups into the master data: persons in charge,
// costs, makers and car names, and the kana of the registration number.
#include "TCostGrid.h"
#include "TCostPanel.h"
#include "TSlipFrame.h"

#include "master/widgets/TGuideForm.h"
#include "master/widgets/TaiueoForm.h"
#include "platform/AppFolder.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Ctrl+Space in a field opens that field's lookup; the key goes no further.
class CtrlSpaceLookup : public QObject {
public:
    CtrlSpaceLookup(QWidget *field, std::function<void()> lookup) : QObject(field), lookup_(std::move(lookup))
    {
        field->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Space && key->modifiers() == Qt::ControlModifier) {
                lookup_();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> lookup_;
};

} // namespace

void TSlipFrame::connectTopBarLookups()
{
    SpeedButton4->setEnabled(true);
    connect(SpeedButton4, &QToolButton::clicked, this, &TSlipFrame::SpeedButton4Click);
    new CtrlSpaceLookup(ChargeEdit, [this] { SpeedButton4Click(); });
}

void TSlipFrame::connectLookups()
{
    const std::pair<QToolButton *, void (TSlipFrame::*)()> lookups[] = {
        {SpeedButton9, &TSlipFrame::SpeedButton9Click},
        {CaNumEllipsisButton, &TSlipFrame::CaNumEllipsisEditButtonClick},
    };
    for (const auto &[button, lookup] : lookups) {
        button->setEnabled(true);
        connect(button, &QToolButton::clicked, this, lookup);
    }
    new CtrlSpaceLookup(CaNameEdit, [this] { SpeedButton9Click(); });
    new CtrlSpaceLookup(CaNumEllipsisEdit, [this] { CaNumEllipsisEditButtonClick(); });
    // The cost panel's button and Ctrl+Space in its grid.
    connect(costPanel_, &TCostPanel::costListRequested, this, &TSlipFrame::SpeedButton12Click);
}

void TSlipFrame::SpeedButton4Click()
{
    pickIntoField(ChargeEdit, TGuideForm::Staff);
}

void TSlipFrame::SpeedButton9Click()
{
    ensureBodies();
    pickIntoField(CaNameEdit, TGuideForm::CarNames);
}

void TSlipFrame::pickIntoField(QLineEdit *field, int kind)
{
    const auto pick = TGuideForm::pick(AppFolder(appDir_), messages_, kind, this);
    field->setFocus();
    if (pick) {
        field->setText(pick->name);
        markModified();
    }
    recomputeTotals();
}

void TSlipFrame::SpeedButton12Click()
{
    ensureBodies();
    const auto pick = TGuideForm::pick(AppFolder(appDir_), messages_, TGuideForm::Costs, this);
    costPanel_->CostStGrid->setFocus();
    if (pick) {
        costPanel_->CostStGrid->setCurrentCost(pick->name, pick->amount);
        markModified();
    }
    recomputeTotals();
}

void TSlipFrame::CaNumEllipsisEditButtonClick()
{
    ensureBodies();
    const auto kana = TaiueoForm::pick(CaNumEllipsisEdit);
    CaNumEllipsisEdit->setFocus();
    if (kana) {
        CaNumEllipsisEdit->setText(*kana);
        CaNumEllipsisEdit->selectAll();
        markModified();
    }
}
