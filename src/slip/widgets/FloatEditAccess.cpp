#include "FloatEditAccess.h"

#include "controls/widgets/TFloatEdit.h"

namespace FloatEditAccess {

TFloatEdit *make(QWidget *parent, const QString &name, int digits, double max, bool grouping, bool readOnly)
{
    auto *e = new TFloatEdit(parent);
    e->setObjectName(name);
    e->setDigits(digits);
    e->setMax(max);
    e->setSupportsThousandSeparator(grouping);
    e->setReadOnly(readOnly);
    e->setFixedWidth(digits > 0 ? 80 : 110);
    return e;
}

double value(const TFloatEdit *edit)
{
    return edit->Value();
}

void setValue(TFloatEdit *edit, double value)
{
    edit->setValue(value);
}

void onChange(TFloatEdit *edit, QObject *context, std::function<void()> handler)
{
    QObject::connect(edit, &TFloatEdit::OnChange, context, std::move(handler));
}

} // namespace FloatEditAccess
