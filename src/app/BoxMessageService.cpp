#include "BoxMessageService.h"

#include <QApplication>
#include <QMessageBox>

MessageService::Answer BoxMessageService::ask(const QString &text, bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    const auto answer = QMessageBox::question(parent_, QApplication::applicationName(), text, buttons);
    switch (answer) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

void BoxMessageService::show(Kind kind, const QString &text)
{
    const QString title = QApplication::applicationName();
    switch (kind) {
    case Kind::Information:
        QMessageBox::information(parent_, title, text);
        break;
    case Kind::Warning:
        QMessageBox::warning(parent_, title, text);
        break;
    case Kind::Error:
        QMessageBox::critical(parent_, title, text);
        break;
    }
}
