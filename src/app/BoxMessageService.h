#pragma once

#include "platform/MessageService.h"

class QWidget;

// Message boxes for a person at the screen.
class BoxMessageService : public MessageService {
public:
    explicit BoxMessageService(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    Answer ask(const QString &text, bool withCancel) override;
    void show(Kind kind, const QString &text) override;

private:
    QWidget *parent_;
};
