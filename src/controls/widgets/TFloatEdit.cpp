#include "TFloatEdit.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QValidator>

namespace {

// Lets through only edits that keep the text on the way to a valid number.
class FloatTypingValidator : public QValidator {
public:
    FloatTypingValidator(const FloatTextRules *rules, QObject *parent) : QValidator(parent), rules_(rules) {}
    State validate(QString &input, int &) const override
    {
        return FloatText::acceptsTyped(input, *rules_) ? Acceptable : Invalid;
    }

private:
    const FloatTextRules *rules_;
};

} // namespace

TFloatEdit::TFloatEdit(QWidget *parent) : QLineEdit(parent)
{
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setValidator(new FloatTypingValidator(&rules_, this));
    connect(this, &QLineEdit::textChanged, this, &TFloatEdit::OnChange);
    setValue(rules_.min);
}

double TFloatEdit::Value() const
{
    return FloatText::value(text(), rules_);
}

void TFloatEdit::setValue(double value)
{
    setText(FloatText::format(value, rules_));
}

void TFloatEdit::reformat()
{
    setValue(Value());
}

void TFloatEdit::setDigits(int digits)
{
    rules_.digits = qMax(0, digits);
    reformat();
}

void TFloatEdit::setMin(double min)
{
    rules_.min = min;
    reformat();
}

void TFloatEdit::setMax(double max)
{
    rules_.max = max;
    reformat();
}

void TFloatEdit::setSupportsThousandSeparator(bool on)
{
    rules_.grouping = on;
    reformat();
}

void TFloatEdit::keyPressEvent(QKeyEvent *e)
{
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        e->accept();
        return;
    case Qt::Key_Escape:
        setValue(entryValue_);
        selectAll();
        e->accept();
        return;
    default:
        QLineEdit::keyPressEvent(e);
    }
}

void TFloatEdit::focusInEvent(QFocusEvent *e)
{
    if (e->reason() != Qt::PopupFocusReason)
        entryValue_ = Value();
    QLineEdit::focusInEvent(e);
}

void TFloatEdit::focusOutEvent(QFocusEvent *e)
{
    if (e->reason() != Qt::PopupFocusReason) {
        if (FloatText::acceptsFinal(text(), rules_)) {
            reformat();
        } else {
            setValue(entryValue_);
            selectAll();
        }
    }
    QLineEdit::focusOutEvent(e);
}
