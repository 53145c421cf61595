#pragma once

#include <QString>

// Every message box of the program goes through one service, so that tests
// answer questions without a person and the widgets stay free of modal loops
// they cannot control.
class MessageService {
public:
    enum class Answer { Yes, No, Cancel, Ok };
    enum class Kind { Information, Warning, Error };

    virtual ~MessageService() = default;
    // A confirmation with Yes and No (and Cancel when withCancel is set).
    virtual Answer ask(const QString &text, bool withCancel) = 0;
    // An information, warning or error box with an OK button.
    virtual void show(Kind kind, const QString &text) = 0;
};
