#pragma once

#include <QProxyStyle>

// The application's style: the platform's own, except that a tool bar's
// overflow button draws its chevron itself. The stock icon is read from
// image files, and the first image read loads every image-format plugin of
// Qt; every tool bar makes that button when it is created, so the program's
// start would pay for plugins it needs for no picture on screen.
class ToolBarIconStyle : public QProxyStyle {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ToolBarIconStyle)
public:
    ToolBarIconStyle() = default;

    QIcon standardIcon(StandardPixmap icon, const QStyleOption *option = nullptr,
                       const QWidget *widget = nullptr) const override;
};
