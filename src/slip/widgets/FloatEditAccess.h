#pragma once

#include <QString>

#include <functional>

class QObject;
class QWidget;
class TFloatEdit;

// The few ways the header editor uses its decimal edits, in one place.
namespace FloatEditAccess {

TFloatEdit *make(QWidget *parent, const QString &name, int digits, double max, bool grouping,
                 bool readOnly = false);
double value(const TFloatEdit *edit);
void setValue(TFloatEdit *edit, double value);
void onChange(TFloatEdit *edit, QObject *context, std::function<void()> handler);

} // namespace FloatEditAccess
