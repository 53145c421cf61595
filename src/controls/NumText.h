#pragma once

#include <QChar>
#include <QString>

#include <optional>

// The rules of the numeric edit, kept apart from the widget so that typing,
// cleaning and formatting are tested without a window.
//
// The raw text is what the edit holds: empty, or an optional leading "-",
// integer digits without separators or leading zeros (a single "0" before
// "."), and optionally "." with decimal digits.
struct NumTextRules {
    int integerLength = 9;
    int decimalLength = 3;
    bool minus = true;
    bool comma = true;
    bool integerFixed = false;
    bool decimalFixed = false;
};

// A formatted value and how many of its leading characters were typed; the
// rest are zeros (and a point) added by the fixed options. The caret goes
// after the typed part.
struct NumFormat {
    QString text;
    qsizetype typedLength = 0;
};

namespace NumText {

// Full-width digit, minus or full stop to its ASCII form; a full-width comma
// to ','; anything else unchanged.
QChar toHalfWidth(QChar c);

// Makes any text (an assignment or a paste) a valid raw text: full-width
// digits, minus and point are converted, the text is cut at the first
// character that cannot belong to a number, separators are dropped, decimals
// beyond the limit are cut, and too many integer digits give an empty text.
QString clean(const QString &text, const NumTextRules &rules);

// The number as the edit shows it, without the marks.
NumFormat format(const QString &raw, const NumTextRules &rules);

// The text used to measure the number block: the value, where the fixed
// options reserve room for every digit they allow.
QString widestImage(const QString &raw, const NumTextRules &rules);

// Typing one character at the end of raw (a full selection has already been
// cleared by the caller). nullopt when the character is refused.
std::optional<QString> typeChar(const QString &raw, QChar c, const NumTextRules &rules);

// Backspace: the last character goes, and a point that would be left last
// goes with it.
QString backspace(const QString &raw);

qsizetype integerDigits(const QString &raw);

} // namespace NumText
