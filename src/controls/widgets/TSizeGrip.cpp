#include "TSizeGrip.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

TSizeGrip::TSizeGrip(QWidget *parent) : QWidget(parent)
{
    setFixedSize(12, 12);
    setCursor(Qt::SizeFDiagCursor);
    watchParent();
    placeInCorner();
}

void TSizeGrip::watchParent()
{
    if (parentWidget())
        parentWidget()->installEventFilter(this);
}

void TSizeGrip::placeInCorner()
{
    if (QWidget *p = parentWidget()) {
        move(p->width() - width(), p->height() - height());
        raise();
    }
}

bool TSizeGrip::event(QEvent *e)
{
    if (e->type() == QEvent::ParentAboutToChange && parentWidget())
        parentWidget()->removeEventFilter(this);
    if (e->type() == QEvent::ParentChange) {
        watchParent();
        placeInCorner();
    }
    return QWidget::event(e);
}

bool TSizeGrip::eventFilter(QObject *watched, QEvent *e)
{
    // Anchored right and bottom: follow every resize of the parent.
    if (watched == parentWidget() && e->type() == QEvent::Resize)
        placeInCorner();
    return QWidget::eventFilter(watched, e);
}

void TSizeGrip::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const QPalette &pal = palette();
    // Three strokes 4 pixels apart, each a face, two shadow and a highlight
    // line running from the bottom edge to the right edge.
    const QColor colours[4] = {pal.color(QPalette::Button), pal.color(QPalette::Dark),
                               pal.color(QPalette::Dark), pal.color(QPalette::Light)};
    const int w = width();
    const int h = height();
    for (int stroke = 0; stroke < 3; ++stroke) {
        for (int line = 0; line < 4; ++line) {
            const int k = stroke * 4 + line + 1;
            p.setPen(colours[(line + 3) % 4]);
            p.drawLine(w - k, h - 1, w - 1, h - k);
        }
    }
}

void TSizeGrip::mousePressEvent(QMouseEvent *e)
{
    if (e->button() != Qt::LeftButton)
        return;
    releaseMouse();
    if (QWindow *handle = window()->windowHandle())
        handle->startSystemResize(Qt::BottomEdge | Qt::RightEdge);
}
