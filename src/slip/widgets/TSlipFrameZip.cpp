// The header's postal-code lookups: code to address and address to code.

#include "TSlipFrame.h"

#include "master/ZipSearch.h"
#include "master/widgets/TZipSchForm.h"
#include "platform/AppFolder.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

#include <algorithm>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Watches the code and address fields for the frame without taking over
// its own event filter.
class ZipFieldWatcher : public QObject {
public:
    using Handler = std::function<bool(QObject *, QEvent *)>;
    ZipFieldWatcher(QObject *parent, Handler handler) : QObject(parent), handler_(std::move(handler)) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override { return handler_(watched, event); }

private:
    Handler handler_;
};

bool isCtrlSpace(const QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    return key->key() == Qt::Key_Space && key->modifiers() == Qt::ControlModifier;
}

// The clerk moved on from the field: not a window switch, a popup or the
// frame going away.
bool isLeftByUser(const QEvent *event)
{
    if (event->type() != QEvent::FocusOut)
        return false;
    const Qt::FocusReason reason = static_cast<const QFocusEvent *>(event)->reason();
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::MouseFocusReason || reason == Qt::ShortcutFocusReason;
}

bool isSevenDigits(const QString &code)
{
    return code.size() == 7 &&
           std::all_of(code.begin(), code.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

void TSlipFrame::connectZipLookups(QToolButton *byCode, QToolButton *byAddress)
{
    byCode->setEnabled(true);
    byAddress->setEnabled(true);
    connect(byCode, &QToolButton::clicked, this, &TSlipFrame::SpeedButton1Click);
    connect(byAddress, &QToolButton::clicked, this, &TSlipFrame::SpeedButton2Click);
    // The fields are compared by the pointers taken here: while the frame is
    // destroyed its children still get focus events, and the frame's own
    // members must not be read then.
    auto *watcher = new ZipFieldWatcher(
        this, [this, zip2 = Zip2Edit, address = Add1Edit](QObject *watched, QEvent *event) {
            if (isCtrlSpace(event)) {
                if (watched == address)
                    SpeedButton2Click();
                else
                    SpeedButton1Click();
                return true;
            }
            if (watched == zip2 && isLeftByUser(event))
                zipCodeLeft();
            return false;
        });
    for (QLineEdit *e : {Zip1Edit, Zip2Edit, Add1Edit})
        e->installEventFilter(watcher);
}

void TSlipFrame::SpeedButton1Click()
{
    ensureBodies();
    zipLookup(Zip1Edit->text() + Zip2Edit->text(), Zip1Edit);
}

void TSlipFrame::SpeedButton2Click()
{
    ensureBodies();
    zipLookup(Add1Edit->text(), Add1Edit);
}

void TSlipFrame::zipLookup(const QString &keyword, QLineEdit *focusAfter)
{
    TZipSchForm form(appDir_, messages_, this);
    form.setKeyword(keyword);
    if (form.exec() == QDialog::Accepted && !form.selected().code.isEmpty())
        applyZipRecord(form.selected());
    focusAfter->setFocus();
}

// A complete code and no address yet: one address is filled in at once, a
// code of several addresses opens the search for the clerk to choose. An
// address already there is never replaced.
void TSlipFrame::zipCodeLeft()
{
    const QString code = ZipDictionary::codeKey(Zip1Edit->text() + Zip2Edit->text());
    if (!isSevenDigits(code) || !Add1Edit->text().trimmed().isEmpty())
        return;
    const QList<ZipRecord> found = ZipSearch::addressesOf(AppFolder(appDir_), code);
    if (found.size() == 1) {
        applyZipRecord(found.first());
    } else if (found.size() > 1) {
        // Not from inside the focus change.
        QMetaObject::invokeMethod(
            this,
            [this, code] {
                if (Add1Edit->text().trimmed().isEmpty())
                    zipLookup(code, Add1Edit);
            },
            Qt::QueuedConnection);
    }
}

void TSlipFrame::applyZipRecord(const ZipRecord &record)
{
    Zip1Edit->setText(record.code.left(3));
    Zip2Edit->setText(record.code.mid(3, 4));
    CityComBox->setEditText(record.prefecture);
    Add1Edit->setText(record.address);
}
