#include "LogoPreview.h"

#include "print/TMakeLogo.h"

#include <QPainter>

namespace LogoPreview {

QImage render(const LogoSetting &setting, int scale)
{
    TMakeLogo logo;
    logo.render(setting);
    QImage image(LogoSetting::CanvasWidth * scale, LogoSetting::CanvasHeight * scale, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    painter.drawPicture(0, 0, logo.picture());
    return image;
}

} // namespace LogoPreview
