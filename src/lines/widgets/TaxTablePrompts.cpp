#include "TaxTablePrompts.h"

#include <QInputDialog>
#include <QMessageBox>

TaxTablePrompts TaxTablePrompts::standard()
{
    TaxTablePrompts p;
    p.error = [](QWidget *parent, const QString &text) {
        QMessageBox::critical(parent, QStringLiteral("エラー"), text);
    };
    p.confirm = [](QWidget *parent, const QString &text) {
        return QMessageBox::warning(parent, QStringLiteral("確認"), text, QMessageBox::Yes | QMessageBox::No,
                                    QMessageBox::No) == QMessageBox::Yes;
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
