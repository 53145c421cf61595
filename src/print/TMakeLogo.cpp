#include "TMakeLogo.h"

#include "PictureFile.h"
#include "TPrnPlotY.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

int TMakeLogo::unitsForPoints(int points)
{
    // Sizes beyond any sheet are taken as the largest cell the plotter draws.
    return qRound(std::clamp(points, -TPrnPlotY::MaxCellHeight, TPrnPlotY::MaxCellHeight) * 96.0 / 72.0);
}

void TMakeLogo::render(const LogoSetting &setting)
{
    picture_ = QPicture();
    const QRect canvas(0, 0, LogoSetting::CanvasWidth, LogoSetting::CanvasHeight);
    QPainter painter(&picture_);

    const QString file = setting.pictureFile();
    if (pictureOption_ && !file.isEmpty() && QFileInfo::exists(file)) {
        const PictureFile::Kind kind = PictureFile::kindOf(file, true);
        if (kind == PictureFile::Kind::Jpeg || kind == PictureFile::Kind::Bitmap) {
            if (file != loadedPath_) {
                // A picture that cannot be decoded leaves the logo without it;
                // the settings editor shows the texts all the same.
                loaded_ = PictureFile::loadBitmap(file, kind, nullptr);
                loadedPath_ = file;
            }
            if (!loaded_.isNull()) {
                painter.drawImage(QRect(setting.pictureLeft(), setting.pictureTop(), setting.pictureWidth(),
                                        setting.pictureHeight()),
                                  loaded_);
            }
        }
    }

    painter.setBackgroundMode(Qt::TransparentMode);
    const auto drawBlock = [&painter](const QFont &font, const QColor &colour, int x, int y,
                                      const QString &text) {
        painter.setFont(font);
        painter.setPen(colour);
        painter.drawText(QPointF(x, y + QFontMetricsF(font).ascent()), text);
    };

    const QFont company = TPrnPlotY::cellFont(setting.companyFace(), unitsForPoints(setting.companySize()),
                                              setting.companyStyle());
    const QColor companyColour = TPrnPlotY::colorFromWin(setting.companyColour());
    const int companyHeight = qRound(QFontMetricsF(company).height());
    drawBlock(company, companyColour, 0, 0, setting.line(4) + u"     "_s);
    drawBlock(company, companyColour, 0, companyHeight, setting.line(5) + u"     "_s);

    const QFont address = TPrnPlotY::cellFont(setting.addressFace(), unitsForPoints(setting.addressSize()),
                                              setting.addressStyle());
    const QColor addressColour = TPrnPlotY::colorFromWin(setting.addressColour());
    const int addressHeight = qRound(QFontMetricsF(address).height());
    for (int k = 0; k <= 7; ++k)
        drawBlock(address, addressColour, 10, 55 + k * addressHeight, setting.line(10 + k));

    painter.end();
    // The logo's extent is the canvas, whatever was drawn.
    picture_.setBoundingRect(canvas);
}
