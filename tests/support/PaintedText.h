#pragma once

#include <QPaintDevice>
#include <QPaintEngine>
#include <QRectF>
#include <QString>
#include <QTextItem>

#include <memory>

// A paint device that records the texts drawn on it and where, so that a test
// can check what a delegate shows and how it is aligned without comparing pixels.
class PaintedText : public QPaintDevice {
public:
    struct Run {
        QString text;
        QPointF baseline;
        qreal width;
    };

    explicit PaintedText(QSize size) : size_(size), engine_(std::make_unique<Engine>()) {}

    QPaintEngine *paintEngine() const override { return engine_.get(); }
    const QList<Run> &runs() const { return engine_->runs; }

protected:
    int metric(PaintDeviceMetric m) const override
    {
        switch (m) {
        case PdmWidth:
            return size_.width();
        case PdmHeight:
            return size_.height();
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY:
            return 96;
        case PdmDepth:
            return 32;
        case PdmDevicePixelRatioScaled:
            return int(QPaintDevice::devicePixelRatioFScale());
        default:
            return 1;
        }
    }

private:
    class Engine : public QPaintEngine {
    public:
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice *) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState &) override {}
        void drawPixmap(const QRectF &, const QPixmap &, const QRectF &) override {}
        void drawImage(const QRectF &, const QImage &, const QRectF &, Qt::ImageConversionFlags) override {}
        void drawPath(const QPainterPath &) override {}
        void drawPolygon(const QPointF *, int, PolygonDrawMode) override {}
        void drawRects(const QRectF *, int) override {}
        void drawLines(const QLineF *, int) override {}
        void drawTextItem(const QPointF &p, const QTextItem &item) override
        {
            runs.append({item.text(), state->transform().map(p), item.width()});
        }
        Type type() const override { return QPaintEngine::User; }
        QList<Run> runs;
    };

    QSize size_;
    std::unique_ptr<Engine> engine_;
};
