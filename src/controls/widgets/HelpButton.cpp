#include "HelpButton.h"

#include "platform/HelpRequest.h"

#include <QAbstractButton>

void connectHelpButton(QAbstractButton *button, int topic)
{
    button->setEnabled(HelpRequest::available());
    QObject::connect(button, &QAbstractButton::clicked, button, [topic] { HelpRequest::show(topic); });
}
