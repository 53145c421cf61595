#pragma once

#include <QString>

class QWidget;

// The message boxes of the printing windows, behind one seam so that tests
// answer them instead of a person.
class MessageService {
public:
    virtual ~MessageService() = default;
    // A Yes/No question; true for Yes.
    virtual bool question(QWidget *parent, const QString &text) = 0;
    // "中止しますか？" is asked as information with Yes and No.
    virtual bool informationYesNo(QWidget *parent, const QString &text) = 0;
    virtual void information(QWidget *parent, const QString &text) = 0;
    virtual void error(QWidget *parent, const QString &text) = 0;
};

// Real message boxes.
class BoxMessageService : public MessageService {
public:
    bool question(QWidget *parent, const QString &text) override;
    bool informationYesNo(QWidget *parent, const QString &text) override;
    void information(QWidget *parent, const QString &text) override;
    void error(QWidget *parent, const QString &text) override;

    // The one every window uses unless it is given another.
    static MessageService &instance();
};
