#include "TaxTablePrompts.h"

#include "controls/widgets/BoxMessageService.h"

#include <QInputDialog>

TaxTablePrompts TaxTablePrompts::standard()
{
    TaxTablePrompts p;
    // The program's one message service; it parents its boxes to the open dialog.
    p.error = [](QWidget *, const QString &text) {
        BoxMessageService::instance().show(MessageService::Kind::Error, text);
    };
    p.confirm = [](QWidget *, const QString &text) {
        return BoxMessageService::instance().ask(text) == MessageService::Answer::Yes;
    };
    p.askText = [](QWidget *parent, const QString &caption, const QString &prompt,
                   const QString &preset) -> std::optional<QString> {
        bool ok = false;
        const QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, preset, &ok);
        if (!ok)
            return std::nullopt;
        return text;
    };
    return p;
}
