#pragma once

#include "platform/MessageService.h"

#include <QList>
#include <QStringList>
#include <QTest>

#include <optional>

// Stands in for the message boxes: remembers every box with its kind and
// text, and answers questions from scripts instead of a person. A question
// that finds its script empty is declined (No, or Cancel where Cancel is
// offered); a text input that finds its script empty is cancelled.
class FakeMessageService : public MessageService {
public:
    enum class Box { Question, InformationQuestion, WarningQuestion, TextInput, Information, Warning, Error };
    struct Call {
        Box box;
        QString text; // the text of a box, the prompt of a text input
        friend bool operator==(const Call &, const Call &) = default;
        friend char *toString(const Call &call)
        {
            static const char *const names[] = {"Question",  "InformationQuestion", "WarningQuestion",
                                                "TextInput", "Information",         "Warning",
                                                "Error"};
            return QTest::toString(QString::fromLatin1(names[int(call.box)]) + u": " + call.text);
        }
    };

    QList<Call> calls;
    // The answers of ask, askInformation and askWarning in turn (Yes for true).
    QList<Answer> answers;
    // The entries of askText in turn; nullopt cancels.
    QList<std::optional<QString>> inputs;

    // The texts of every box so far, in order.
    QStringList texts() const
    {
        QStringList all;
        for (const Call &c : calls)
            all << c.text;
        return all;
    }

    Answer ask(const QString &text, bool withCancel) override
    {
        return answer(Box::Question, text, withCancel ? Answer::Cancel : Answer::No);
    }
    bool askInformation(const QString &text) override
    {
        return answer(Box::InformationQuestion, text, Answer::No) == Answer::Yes;
    }
    bool askWarning(const QString &text) override
    {
        return answer(Box::WarningQuestion, text, Answer::No) == Answer::Yes;
    }
    std::optional<QString> askText(const QString &, const QString &prompt, const QString &) override
    {
        calls.append({Box::TextInput, prompt});
        return inputs.isEmpty() ? std::nullopt : inputs.takeFirst();
    }
    void show(Kind kind, const QString &text) override
    {
        const Box box = kind == Kind::Information ? Box::Information
                        : kind == Kind::Warning   ? Box::Warning
                                                  : Box::Error;
        calls.append({box, text});
    }

private:
    Answer answer(Box box, const QString &text, Answer declined)
    {
        calls.append({box, text});
        return answers.isEmpty() ? declined : answers.takeFirst();
    }
};
