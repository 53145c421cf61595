#include "BoxMessageService.h"

#include <QApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

QWidget *BoxMessageService::owner() const
{
    if (QWidget *modal = QApplication::activeModalWidget())
        return modal;
    return parent_ ? parent_ : QApplication::activeWindow();
}

bool BoxMessageService::askInformation(const QString &text)
{
    return QMessageBox::information(owner(), QApplication::applicationName(), text,
                                    QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool BoxMessageService::askWarning(const QString &text)
{
    return QMessageBox::warning(owner(), QApplication::applicationName(), text,
                                QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

std::optional<QString> BoxMessageService::askText(const QString &caption, const QString &prompt,
                                                  const QString &preset)
{
    bool ok = false;
    const QString text = QInputDialog::getText(owner(), caption, prompt, QLineEdit::Normal, preset, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

MessageService::Answer BoxMessageService::ask(const QString &text, bool withCancel)
{
    QMessageBox::StandardButtons buttons = QMessageBox::Yes | QMessageBox::No;
    if (withCancel)
        buttons |= QMessageBox::Cancel;
    const auto answer = QMessageBox::question(owner(), QApplication::applicationName(), text, buttons);
    switch (answer) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

int BoxMessageService::choose(const QString &text, const QStringList &buttons)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text, QMessageBox::NoButton,
                    owner());
    QList<QAbstractButton *> pressed;
    for (const QString &caption : buttons)
        pressed.append(box.addButton(caption, QMessageBox::ActionRole));
    if (!pressed.isEmpty())
        box.setDefaultButton(qobject_cast<QPushButton *>(pressed.first()));
    // No button stands for Escape: the box closes through its buttons only.
    box.setEscapeButton(nullptr);
    box.exec();
    return int(pressed.indexOf(box.clickedButton()));
}

void BoxMessageService::show(Kind kind, const QString &text)
{
    const QString title = QApplication::applicationName();
    switch (kind) {
    case Kind::Information:
        QMessageBox::information(owner(), title, text);
        break;
    case Kind::Warning:
        QMessageBox::warning(owner(), title, text);
        break;
    case Kind::Error:
        QMessageBox::critical(owner(), title, text);
        break;
    }
}
