#include "CostGridDelegate.h"

#include "TCostGrid.h"
#include "lines/YenText.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>

namespace {

QPixmap boxImage(bool checked)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(QColor(0x70, 0x70, 0x70));
    p.setBrush(Qt::white);
    p.drawRect(1, 1, 13, 13);
    if (checked) {
        p.setRenderHint(QPainter::Antialiasing, true);
        QPen pen(QColor(0x10, 0x60, 0x20));
        pen.setWidthF(2.2);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        QPainterPath tick;
        tick.moveTo(4, 8);
        tick.lineTo(7, 11);
        tick.lineTo(12, 4);
        p.drawPath(tick);
    }
    return pm;
}

} // namespace

CostGridDelegate::CostGridDelegate(QObject *parent) : QStyledItemDelegate(parent) {}

QPixmap CostGridDelegate::checkImage()
{
    return boxImage(true);
}

QPixmap CostGridDelegate::emptyBoxImage()
{
    return boxImage(false);
}

void CostGridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option,
                             const QModelIndex &index) const
{
    painter->save();
    const QRect r = option.rect;
    painter->fillRect(r, option.palette.brush(QPalette::Base));
    QFont font = option.font;
    font.setBold(false);
    font.setItalic(false);
    font.setUnderline(false);
    painter->setFont(font);
    painter->setPen(option.palette.color(QPalette::Text));

    const QString text = index.data(Qt::DisplayRole).toString();
    if (index.column() == TCostGrid::TaxColumn) {
        // The flag shows as an image only; its "1" would not fit beside it.
        painter->drawPixmap(r.left() + 2, r.top() + 1, text.isEmpty() ? emptyBoxImage() : checkImage());
    } else {
        const QFontMetrics fm(font);
        const int y = r.top() + (r.height() - fm.height()) / 2;
        const QRect line(r.left(), y, r.width(), fm.height());
        const std::optional<qint64> amount =
            index.column() == TCostGrid::PriceColumn ? YenText::priceOf(text) : std::nullopt;
        if (amount)
            painter->drawText(line.adjusted(0, 0, -3, 0), Qt::AlignRight | Qt::AlignTop,
                              YenText::grouped(*amount));
        else
            painter->drawText(line.adjusted(2, 0, 0, 0), Qt::AlignLeft | Qt::AlignTop,
                              fm.elidedText(text, Qt::ElideRight, r.width() - 2));
    }
    if (option.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(option);
        focus.rect = r.adjusted(1, 1, -1, -1);
        focus.backgroundColor = option.palette.color(QPalette::Base);
        const QWidget *w = option.widget;
        (w ? w->style() : QApplication::style())
            ->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, w);
    }
    painter->restore();
}

QWidget *CostGridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    if (index.column() == TCostGrid::TaxColumn)
        return nullptr;
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
        edit->setFrame(false);
        if (index.column() == TCostGrid::PriceColumn)
            edit->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    // The grid watches its editors for Ctrl+Space.
    if (QObject *view = this->parent())
        editor->installEventFilter(view);
    return editor;
}

void CostGridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    auto *edit = qobject_cast<QLineEdit *>(editor);
    if (!edit || index.column() != TCostGrid::PriceColumn) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    // A price is a whole number of yen; any other text leaves the cell empty.
    const std::optional<qint64> price = YenText::priceOf(edit->text());
    model->setData(index, price ? QString::number(*price) : QString(), Qt::EditRole);
}
