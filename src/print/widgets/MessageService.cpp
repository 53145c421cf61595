#include "MessageService.h"

#include <QApplication>
#include <QMessageBox>

namespace {
QString caption()
{
    return QApplication::applicationName();
}
} // namespace

bool BoxMessageService::question(QWidget *parent, const QString &text)
{
    return QMessageBox::question(parent, caption(), text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

bool BoxMessageService::informationYesNo(QWidget *parent, const QString &text)
{
    return QMessageBox::information(parent, caption(), text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void BoxMessageService::information(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, caption(), text);
}

void BoxMessageService::error(QWidget *parent, const QString &text)
{
    QMessageBox::critical(parent, caption(), text);
}

MessageService &BoxMessageService::instance()
{
    static BoxMessageService service;
    return service;
}
