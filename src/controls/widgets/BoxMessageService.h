#pragma once

#include "platform/MessageService.h"

class QWidget;

// Message boxes for a person at the screen. A box belongs to the dialog
// that is open, else to the window given, else to the active window.
class BoxMessageService : public MessageService {
public:
    explicit BoxMessageService(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    Answer ask(const QString &text, bool withCancel = false) override;
    bool askInformation(const QString &text) override;
    bool askWarning(const QString &text) override;
    std::optional<QString> askText(const QString &caption, const QString &prompt,
                                   const QString &preset) override;
    int choose(const QString &text, const QStringList &buttons) override;
    void show(Kind kind, const QString &text) override;

private:
    QWidget *owner() const;
    QWidget *parent_;
};
