#pragma once

#include <QImage>
#include <QList>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPolygonF>
#include <QRectF>
#include <QString>
#include <QTransform>

// A paint device that draws nothing and records, in device coordinates, what
// was painted on it: where a played-back page picture really puts things, or
// what a delegate shows in a cell and how it is aligned, without comparing
// pixels.
class RecordingEngine : public QPaintEngine {
public:
    struct Text {
        QString text;
        QString family;
        bool bold = false;
        bool italic = false;
        QRectF rect; // the text's advance box: left/right ends and baseline
    };
    QList<Text> texts;
    QList<QRectF> images;
    QList<QLineF> lines;
    QList<QRectF> rects;
    QList<QRectF> ellipses;
    int polylines = 0;

    RecordingEngine() : QPaintEngine(QPaintEngine::AllFeatures) {}
    bool begin(QPaintDevice *) override { return true; }
    bool end() override { return true; }
    Type type() const override { return QPaintEngine::User; }
    void updateState(const QPaintEngineState &s) override
    {
        if (s.state() & QPaintEngine::DirtyTransform)
            transform_ = s.transform();
        if (s.state() & QPaintEngine::DirtyFont)
            font_ = s.font();
    }
    void drawTextItem(const QPointF &p, const QTextItem &item) override
    {
        const QPointF left = transform_.map(p);
        const QPointF right = transform_.map(p + QPointF(item.width(), 0));
        // Qt splits one drawText into runs by script; join them back.
        if (!texts.isEmpty() && qAbs(texts.last().rect.top() - left.y()) < 0.01 &&
            qAbs(texts.last().rect.right() - left.x()) < 0.01) {
            texts.last().text += item.text();
            texts.last().rect.setRight(right.x());
            return;
        }
        texts.append({item.text(), item.font().family(), item.font().bold(), item.font().italic(),
                      QRectF(left, QPointF(right.x(), left.y()))});
    }
    void drawImage(const QRectF &r, const QImage &, const QRectF &, Qt::ImageConversionFlags) override
    {
        images.append(transform_.mapRect(r));
    }
    void drawPixmap(const QRectF &r, const QPixmap &, const QRectF &) override
    {
        images.append(transform_.mapRect(r));
    }
    void drawLines(const QLineF *l, int count) override
    {
        for (int i = 0; i < count; ++i)
            lines.append(transform_.map(l[i]));
    }
    void drawRects(const QRectF *r, int count) override
    {
        for (int i = 0; i < count; ++i)
            rects.append(transform_.mapRect(r[i]));
    }
    void drawEllipse(const QRectF &r) override { ellipses.append(transform_.mapRect(r)); }
    void drawPolygon(const QPointF *points, int count, PolygonDrawMode mode) override
    {
        if (mode == PolylineMode) {
            ++polylines;
            for (int i = 0; i + 1 < count; ++i)
                lines.append(transform_.map(QLineF(points[i], points[i + 1])));
        } else {
            rects.append(transform_.map(QPolygonF(QList<QPointF>(points, points + count))).boundingRect());
        }
    }
    void drawPath(const QPainterPath &path) override { rects.append(transform_.map(path).boundingRect()); }

private:
    QTransform transform_;
    QFont font_;
};

// An A4 page at 254 dpi (a tenth of a millimetre a unit) unless told otherwise;
// widget painting wants the screen's 96 dpi.
class RecordingDevice : public QPaintDevice {
public:
    explicit RecordingDevice(QSize size = QSize(2100, 2970), int dpi = 254) : size_(size), dpi_(dpi) {}
    ~RecordingDevice() override = default;
    QPaintEngine *paintEngine() const override { return &engine; }
    mutable RecordingEngine engine;

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmWidthMM:
            return size_.width() * 254 / dpi_ / 10;
        case PdmHeightMM:
            return size_.height() * 254 / dpi_ / 10;
        case PdmNumColors:
            return 0xffffff;
        case PdmDepth:
            return 32;
        case PdmDpiX:
        case PdmPhysicalDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return dpi_;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return 1 * QPaintDevice::devicePixelRatioFScale();
        default:
            return 0;
        }
    }

private:
    QSize size_;
    int dpi_;
};
