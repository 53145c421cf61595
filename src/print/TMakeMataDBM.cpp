#include "TMakeMataDBM.h"

#include "LogoSetting.h"
#include "PictureFile.h"
#include "TMakeLogo.h"
#include "TPrnPlotY.h"
#include "platform/CommaText.h"
#include "platform/Cp932.h"
#include "platform/IntText.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

void TMakeMataDBM::SetScript(const QString &path)
{
    script_ = !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
}

void TMakeMataDBM::SetOffsets(double xMm, double yMm)
{
    offsetX_ = std::llround(xMm * 10000.0);
    offsetY_ = std::llround(yMm * 10000.0);
}

// 1.5 mm -> 15 units, -0.25 mm -> -2 units.
int TMakeMataDBM::offsetUnitsX() const
{
    return int(std::clamp<qint64>(offsetX_ / 1000, -MaxCoordinate, MaxCoordinate));
}
int TMakeMataDBM::offsetUnitsY() const
{
    return int(std::clamp<qint64>(offsetY_ / 1000, -MaxCoordinate, MaxCoordinate));
}

int TMakeMataDBM::field(const QStringList &fields, int index)
{
    return IntText::toIntDef(QStringView(fields.value(index)), 0);
}

int TMakeMataDBM::coordinate(const QStringList &fields, int index)
{
    return std::clamp(field(fields, index), -MaxCoordinate, MaxCoordinate);
}

TMakeMataDBM::Result TMakeMataDBM::DrawPages(TPrnPlotY &plot, RenderObserver *observer)
{
    error_.clear();
    if (script_.isEmpty())
        return Result::NoScript;
    QFile file(script_);
    if (!file.open(QIODevice::ReadOnly)) {
        error_ = script_ + u": "_s + file.errorString();
        return Result::Failed;
    }
    return DrawPages(file, plot, observer);
}

TMakeMataDBM::Result TMakeMataDBM::DrawPages(QIODevice &file, TPrnPlotY &plot, RenderObserver *observer)
{
    error_.clear();
    plot.setOffsets(offsetUnitsX(), offsetUnitsY());
    if (observer)
        observer->pageStarted(1);
    plot.BeginPages();
    while (!file.atEnd()) {
        QByteArray raw = file.readLine();
        while (raw.endsWith('\n') || raw.endsWith('\r'))
            raw.chop(1);
        if (observer && observer->cancelRequested()) {
            plot.AbortPages();
            return Result::Cancelled;
        }
        if (raw.isEmpty())
            continue;
        if (!drawLine(plot, CommaText::split(Cp932::decode(raw)), observer)) {
            plot.AbortPages();
            return Result::Failed;
        }
    }
    if (!plot.EndPages()) {
        error_ = plot.errorString();
        return Result::Failed;
    }
    return Result::Drawn;
}

bool TMakeMataDBM::drawLine(TPrnPlotY &plot, const QStringList &f, RenderObserver *observer)
{
    const QString verb = f.value(0).toLower();
    const auto n = [&f](int i) { return field(f, i); };
    // Positions and sizes; colours and styles are plain numbers.
    const auto c = [&f](int i) { return coordinate(f, i); };
    if (verb == u"font") {
        plot.SetFont(f.value(1), c(2), n(3), n(4));
    } else if (verb == u"text") {
        plot.TextLeft(c(2), c(3), f.value(1));
    } else if (verb == u"rtext") {
        plot.TextRight(c(2), c(3), f.value(1));
    } else if (verb == u"ctext") {
        plot.TextCentre(c(2), c(3), f.value(1));
    } else if (verb == u"page") {
        if (observer)
            observer->pageStarted(plot.pageCount() + 1);
        if (!plot.NextPage()) {
            error_ = plot.errorString();
            return false;
        }
    } else if (verb == u"pen") {
        plot.SetPen(c(1), n(2), n(3));
    } else if (verb == u"brush") {
        plot.SetBrush(n(1), n(2));
    } else if (verb == u"line") {
        plot.DrawLine(c(1), c(2), c(3), c(4));
    } else if (verb == u"lbox") {
        plot.DrawFrame(c(1), c(2), c(3), c(4));
    } else if (verb == u"fill") {
        plot.FillBox(c(1), c(2), c(3), c(4));
    } else if (verb == u"ellipse") {
        plot.EllipseBox(c(1), c(2), c(3), c(4));
    } else if (verb == u"pict") {
        return drawPicture(plot, c(1), c(2), c(3), c(4), f.value(5), false);
    } else if (verb == u"logo") {
        return drawLogo(plot, c(1), c(2), c(3), c(4), f.value(5));
    }
    // "back" and unknown verbs are skipped.
    return true;
}

const QImage *TMakeMataDBM::bitmap(const QString &file, int kind)
{
    // A logo picture repeats on every page: decode it once per run.
    if (file != cachedPath_) {
        cachedPath_.clear();
        cached_ = PictureFile::loadBitmap(file, PictureFile::Kind(kind), &error_);
        if (cached_.isNull())
            return nullptr;
        cachedPath_ = file;
    }
    return &cached_;
}

bool TMakeMataDBM::drawPicture(TPrnPlotY &plot, int x1, int y1, int x2, int y2, const QString &file,
                               bool acceptJpegLong)
{
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return true;
    const PictureFile::Kind kind = PictureFile::kindOf(file, acceptJpegLong);
    if (kind == PictureFile::Kind::Jpeg || kind == PictureFile::Kind::Bitmap) {
        const QImage *image = bitmap(file, int(kind));
        if (!image)
            return false;
        plot.DrawBitmap(x1, y1, x2, y2, *image);
    }
    // Enhanced metafiles have no renderer on this platform: they draw nothing.
    return true;
}

bool TMakeMataDBM::drawLogo(TPrnPlotY &plot, int x1, int y1, int x2, int y2, const QString &file)
{
    if (file.isEmpty() || !QFileInfo(file).isFile())
        return true;
    const LogoSetting setting = LogoSetting::load(file);
    const double sx = double(x2 - x1) / LogoSetting::CanvasWidth;
    const double sy = double(y2 - y1) / LogoSetting::CanvasHeight;
    const int left = x1 + int(setting.pictureLeft() * sx);
    const int top = y1 + int(setting.pictureTop() * sy);
    const int right = left + int(setting.pictureWidth() * sx);
    const int bottom = top + int(setting.pictureHeight() * sy);
    // The settings editor accepts ".jpeg" logo pictures, so the page does too.
    if (!drawPicture(plot, left, top, right, bottom, setting.pictureFile(), true))
        return false;
    TMakeLogo logo;
    logo.setPictureOption(false);
    logo.render(setting);
    plot.DrawPicture(x1, y1, x2, y2, logo.picture());
    return true;
}
