#include "TaxGridDelegate.h"

#include "lines/YenText.h"
#include "master/TaxTables.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPainter>

TaxGridDelegate::TaxGridDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

void TaxGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                            const QModelIndex &index) const
{
    painter->save();
    const QRect r = option.rect;
    const bool heading = index.row() == 0 || index.column() == 0;
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->setFont(option.font);

    if (heading && fixedHeadings_) {
        // Fixed cells cannot be picked, yet they read like any heading.
        painter->fillRect(r, option.palette.brush(QPalette::Active, QPalette::Button));
        painter->setPen(option.palette.color(QPalette::Active, QPalette::Light));
        painter->drawLine(r.topLeft(), r.topRight());
        painter->drawLine(r.topLeft(), r.bottomLeft());
        painter->setPen(option.palette.color(QPalette::Active, QPalette::ButtonText));
        painter->drawText(r.adjusted(2, 2, -1, 0), Qt::AlignLeft | Qt::AlignTop, text);
        painter->restore();
        return;
    }

    const std::optional<qint64> amount = heading ? std::nullopt : TaxTables::amountOf(text);
    const QString shown = amount ? YenText::grouped(*amount) : text;
    if (option.state & QStyle::State_Selected) {
        painter->fillRect(r, option.palette.brush(QPalette::Highlight));
        painter->setPen(option.palette.color(QPalette::HighlightedText));
        painter->drawText(r.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, shown);
    } else {
        painter->fillRect(r, option.palette.brush(QPalette::Base));
        painter->setPen(option.palette.color(QPalette::WindowText));
        if (amount)
            painter->drawText(r.adjusted(0, 2, -3, 0), Qt::AlignRight | Qt::AlignTop, shown);
        else
            painter->drawText(r.adjusted(2, 2, 0, 0), Qt::AlignLeft | Qt::AlignTop, shown);
    }
    painter->restore();
}

QWidget *TaxGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                       const QModelIndex &index) const
{
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        edit->setFrame(false);
    return editor;
}
