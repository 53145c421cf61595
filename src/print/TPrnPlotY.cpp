#include "TPrnPlotY.h"

#include "PageFiles.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <climits>

TPrnPlotY::TPrnPlotY(const PageGeometry &geometry) : geometry_(geometry)
{
    const QFont menu = QGuiApplication::font();
    // The menu font's point size serves as the cell height, as on the
    // original device the first text line inherits it unchanged.
    setDefaultFont(menu.family(), menu.pointSize() > 0 ? menu.pointSize() : 9);
    pen_ = QPen(Qt::black, 0, Qt::SolidLine);
    pen_.setCosmetic(true);
    brush_ = QBrush(Qt::black, Qt::SolidPattern);
}

TPrnPlotY::~TPrnPlotY()
{
    if (painter_)
        painter_->end();
}

QString TPrnPlotY::pageFileName(const QString &tempDir, const QString &prefix, int page)
{
    return tempDir + prefix + QStringLiteral("_PTmp") + QString::number(page) + QStringLiteral(".pic");
}

void TPrnPlotY::setOffsets(int x, int y)
{
    offsetX_ = x;
    offsetY_ = y;
}

void TPrnPlotY::setPageFiles(const QString &tempDir, const QString &prefix)
{
    tempDir_ = tempDir;
    prefix_ = prefix;
}

void TPrnPlotY::setDefaultFont(const QString &face, int height)
{
    font_ = cellFont(face, height, 0);
    fontColor_ = Qt::black;
}

QString TPrnPlotY::currentPageFile() const
{
    return pageFileName(tempDir_, prefix_, page_);
}

QColor TPrnPlotY::colorFromWin(int colour)
{
    if (colour < 0 || colour > 0xFFFFFF)
        return Qt::black;
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

QString TPrnPlotY::usableFace(const QString &face)
{
    // An empty family makes a font that cannot be recorded into a page
    // picture; a name with control characters or one that neither the system
    // nor a substitution knows draws in some face the system picks. All of
    // them draw in the program's default face instead.
    const bool odd = std::any_of(face.cbegin(), face.cend(), [](QChar c) { return c.unicode() < 0x20; });
    if (!face.trimmed().isEmpty() && !odd &&
        (QFontDatabase::hasFamily(face) || !QFont::substitutes(face).isEmpty()))
        return face;
    const QString fallback = QGuiApplication::font().family();
    return fallback.isEmpty() ? QStringLiteral("Sans Serif") : fallback;
}

QFont TPrnPlotY::cellFont(const QString &face, int height, int style)
{
    QFont font(usableFace(face));
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::PreferOutline);
    font.setBold(style == 1 || style == 3);
    font.setItalic(style == 2 || style == 3);
    const int h = std::clamp(height == INT_MIN ? MaxCellHeight : std::abs(height), 1, MaxCellHeight);
    font.setPixelSize(h);
    // The script gives the cell height (ascent + descent); Qt sizes the em.
    const QFontMetricsF metrics(font);
    const double cell = metrics.ascent() + metrics.descent();
    if (cell > 0 && std::abs(cell - h) >= 1.0)
        font.setPixelSize(std::max(1, int(double(h) * h / cell)));
    return font;
}

void TPrnPlotY::startPicture()
{
    picture_ = std::make_unique<QPicture>();
    const QSize page = geometry_.pageSize();
    picture_->setBoundingRect(QRect(QPoint(0, 0), page));
    painter_ = std::make_unique<QPainter>(picture_.get());
    painter_->setRenderHint(QPainter::Antialiasing, false);
}

bool TPrnPlotY::finishPicture()
{
    if (!painter_)
        return true;
    painter_->end();
    painter_.reset();
    // end() recomputes the bounds from what was drawn; the page keeps its size.
    picture_->setBoundingRect(QRect(QPoint(0, 0), geometry_.pageSize()));
    if (sink_) {
        const bool taken = sink_(page_, *picture_);
        picture_.reset();
        if (!taken)
            error_ = QString::number(page_) + QStringLiteral(" ページ目を出力できません");
        return taken;
    }
    const QString file = currentPageFile();
    const bool saved = picture_->save(file);
    picture_.reset();
    if (!saved) {
        error_ = file + QStringLiteral(" に書き込めません");
        return false;
    }
    return true;
}

bool TPrnPlotY::BeginPages()
{
    page_ = 1;
    error_.clear();
    startPicture();
    return true;
}

bool TPrnPlotY::NextPage()
{
    if (!painter_)
        return true;
    if (!finishPicture())
        return false;
    ++page_;
    startPicture();
    return true;
}

bool TPrnPlotY::EndPages()
{
    return finishPicture();
}

void TPrnPlotY::SetFont(const QString &face, int height, int style, int colour)
{
    const QString key = QString::number(height) + u',' + QString::number(style) + u',' + face;
    auto found = fonts_.constFind(key);
    if (found == fonts_.cend()) {
        if (fonts_.size() >= 64)
            fonts_.clear();
        found = fonts_.insert(key, cellFont(face, height, style));
    }
    font_ = *found;
    fontColor_ = colorFromWin(colour);
}

void TPrnPlotY::SetPen(int width, int style, int colour)
{
    static const Qt::PenStyle styles[] = {Qt::SolidLine,      Qt::DashLine, Qt::DotLine,  Qt::DashDotLine,
                                          Qt::DashDotDotLine, Qt::NoPen,    Qt::SolidLine};
    const Qt::PenStyle s = style >= 0 && style <= 6 ? styles[style] : Qt::SolidLine;
    pen_ = QPen(colorFromWin(colour), std::max(0, width), s);
    pen_.setCosmetic(width <= 0);
}

void TPrnPlotY::SetBrush(int style, int colour)
{
    static const Qt::BrushStyle styles[] = {Qt::SolidPattern, Qt::NoBrush,      Qt::BDiagPattern,
                                            Qt::FDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern,
                                            Qt::HorPattern,   Qt::VerPattern};
    const Qt::BrushStyle s = style >= 0 && style <= 7 ? styles[style] : Qt::SolidPattern;
    brush_ = QBrush(colorFromWin(colour), s);
}

QRect TPrnPlotY::box(int x1, int y1, int x2, int y2) const
{
    const QPoint topLeft = at(std::min(x1, x2), std::min(y1, y2));
    return QRect(topLeft, QSize(std::abs(x2 - x1), std::abs(y2 - y1)));
}

void TPrnPlotY::text(int x, int y, const QString &text, int align)
{
    if (!painter_ || text.isEmpty())
        return;
    painter_->setFont(font_);
    painter_->setPen(fontColor_);
    painter_->setBackgroundMode(Qt::TransparentMode);
    const QFontMetricsF metrics(font_);
    const int w = int(metrics.horizontalAdvance(text));
    const int left = align == 1 ? x - w : align == 2 ? x - w / 2 : x;
    const QPoint p = at(left, y);
    painter_->drawText(QPointF(p.x(), p.y() + metrics.ascent()), text);
}

void TPrnPlotY::TextLeft(int x, int y, const QString &t)
{
    text(x, y, t, 0);
}
void TPrnPlotY::TextRight(int x, int y, const QString &t)
{
    text(x, y, t, 1);
}
void TPrnPlotY::TextCentre(int x, int y, const QString &t)
{
    text(x, y, t, 2);
}

void TPrnPlotY::DrawLine(int x1, int y1, int x2, int y2)
{
    if (!painter_)
        return;
    painter_->setPen(pen_);
    painter_->drawLine(at(x1, y1), at(x2, y2));
}

void TPrnPlotY::DrawFrame(int x1, int y1, int x2, int y2)
{
    if (!painter_)
        return;
    painter_->setPen(pen_);
    const QPoint corners[] = {at(x1, y1), at(x2, y1), at(x2, y2), at(x1, y2), at(x1, y1)};
    painter_->drawPolyline(corners, 5);
}

void TPrnPlotY::FillBox(int x1, int y1, int x2, int y2)
{
    if (!painter_)
        return;
    painter_->fillRect(box(x1, y1, x2, y2), brush_);
}

void TPrnPlotY::EllipseBox(int x1, int y1, int x2, int y2)
{
    if (!painter_)
        return;
    painter_->setPen(pen_);
    painter_->setBrush(brush_);
    painter_->drawEllipse(box(x1, y1, x2, y2));
    painter_->setBrush(Qt::NoBrush);
}

void TPrnPlotY::DrawBitmap(int x1, int y1, int x2, int y2, const QImage &bitmap)
{
    if (!painter_ || bitmap.isNull())
        return;
    painter_->drawImage(box(x1, y1, x2, y2), bitmap.convertToFormat(QImage::Format_RGB888));
}

void TPrnPlotY::DrawPicture(int x1, int y1, int x2, int y2, const QPicture &picture)
{
    const QRect source = picture.boundingRect();
    if (!painter_ || source.isEmpty())
        return;
    PageFiles::playStretched(*painter_, picture, source, box(x1, y1, x2, y2));
}
