#include "ToolBarIconStyle.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPalette>

namespace {

// Two chevrons pointing along the tool bar, drawn at any size in the
// button's text colour.
class ChevronIconEngine : public QIconEngine {
public:
    explicit ChevronIconEngine(bool vertical) : vertical_(vertical) {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        const QPalette palette;
        const QColor colour = palette.color(mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Normal,
                                            QPalette::ButtonText);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->setPen(QPen(colour, qMax(1.0, rect.width() / 10.0)));
        painter->translate(rect.center());
        if (vertical_)
            painter->rotate(90);
        const qreal s = qMin(rect.width(), rect.height()) / 4.0;
        for (const qreal x : {-s * 0.9, s * 0.3}) {
            QPainterPath chevron;
            chevron.moveTo(x, -s);
            chevron.lineTo(x + s * 0.8, 0);
            chevron.lineTo(x, s);
            painter->drawPath(chevron);
        }
        painter->restore();
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pm(size);
        pm.fill(Qt::transparent);
        QPainter painter(&pm);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }

    QIconEngine *clone() const override { return new ChevronIconEngine(vertical_); }

private:
    bool vertical_;
};

} // namespace

QIcon ToolBarIconStyle::standardIcon(StandardPixmap icon, const QStyleOption *option,
                                     const QWidget *widget) const
{
    if (icon == SP_ToolBarHorizontalExtensionButton || icon == SP_ToolBarVerticalExtensionButton)
        return QIcon(new ChevronIconEngine(icon == SP_ToolBarVerticalExtensionButton));
    return QProxyStyle::standardIcon(icon, option, widget);
}
