#pragma once

#include <QWidget>

// The 12 x 12 grip in the lower right corner of a resizable dialog. It keeps
// itself in its parent's corner and starts the window system's resize of
// its window from that corner when pressed.
class TSizeGrip : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSizeGrip)
public:
    explicit TSizeGrip(QWidget *parent = nullptr);

protected:
    bool event(QEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;
    void paintEvent(QPaintEvent *e) override;
    void mousePressEvent(QMouseEvent *e) override;

private:
    void placeInCorner();
    void watchParent();
};
