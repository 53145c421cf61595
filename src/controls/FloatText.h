#pragma once

#include <QString>

#include <optional>

// The rules of the decimal edit: a number between a minimum and a maximum
// with a fixed count of decimals, optionally shown with digit grouping.
struct FloatTextRules {
    int digits = 1;
    double min = 0;
    double max = 100;
    bool grouping = false;
};

namespace FloatText {

double clampValue(double value, const FloatTextRules &rules);

// The value clamped and written with rules.digits decimals ("1,234.5").
QString format(double value, const FloatTextRules &rules);

// The text as a number, grouping separators removed; nullopt when it is not
// a plain decimal number.
std::optional<double> toNumber(const QString &text);

// The value an edit holding text reads as: clamped, and the minimum when the
// text is not a number.
double value(const QString &text, const FloatTextRules &rules);

// Whether typing may leave the edit with this text: on the way to a number
// not above the maximum with at most rules.digits decimals (an empty text, a
// lone sign when negatives are allowed, and a trailing point are fine).
bool acceptsTyped(const QString &text, const FloatTextRules &rules);

// Whether the edit may be left with this text: a number within the range.
bool acceptsFinal(const QString &text, const FloatTextRules &rules);

} // namespace FloatText
