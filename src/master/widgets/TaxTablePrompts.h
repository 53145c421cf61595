#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

// The message boxes and the name input of the tax tables, kept replaceable so
// that tests answer them instead of a user.
struct TaxTablePrompts {
    // An error box with an OK button.
    std::function<void(QWidget *parent, const QString &text)> error;
    // A warning box with Yes and No; true for Yes.
    std::function<bool(QWidget *parent, const QString &text)> confirm;
    // An input box; nullopt when cancelled.
    std::function<std::optional<QString>(QWidget *parent, const QString &caption, const QString &prompt,
                                         const QString &preset)>
        askText;

    // Real message boxes and a real input dialog.
    static TaxTablePrompts standard();
};
