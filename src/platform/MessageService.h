#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Every message box of the program goes through one service, so that tests
// answer questions without a person and the widgets stay free of modal loops
// they cannot control.
class MessageService {
public:
    enum class Answer { Yes, No, Cancel, Ok };
    enum class Kind { Information, Warning, Error };

    virtual ~MessageService() = default;
    // A confirmation with Yes and No (and Cancel when withCancel is set).
    virtual Answer ask(const QString &text, bool withCancel = false) = 0;
    // A Yes/No question shown as information ("中止しますか？" while printing);
    // true for Yes.
    virtual bool askInformation(const QString &text) { return ask(text) == Answer::Yes; }
    // A Yes/No question shown as a warning, with No as the default button,
    // before something is thrown away (a tax-table classification); true for
    // Yes.
    virtual bool askWarning(const QString &text) = 0;
    // One line of text under a caption and a prompt, starting as preset;
    // nullopt when the user cancels.
    virtual std::optional<QString> askText(const QString &caption, const QString &prompt,
                                           const QString &preset) = 0;
    // A question with buttons of its own ("復元", "破棄"): the index of the
    // button pressed, or -1 when the box was closed without one. Without a
    // box of its own the first button stands for Yes and the second for No.
    virtual int choose(const QString &text, const QStringList &buttons)
    {
        Q_UNUSED(buttons);
        switch (ask(text, true)) {
        case Answer::Yes:
            return 0;
        case Answer::No:
            return 1;
        default:
            return -1;
        }
    }
    // An information, warning or error box with an OK button.
    virtual void show(Kind kind, const QString &text) = 0;
};
