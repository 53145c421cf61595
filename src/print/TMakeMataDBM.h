#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

class QIODevice;
class TPrnPlotY;

// What the window layer does while pages are drawn: show the page counter,
// let pending user input through and report a cancel.
class RenderObserver {
public:
    virtual ~RenderObserver() = default;
    virtual void pageStarted(int page) = 0;
    // Called after every script line.
    virtual bool cancelRequested() = 0;
};

// Reads the print data script and draws it, page by page, through the
// plotter into page files.
class TMakeMataDBM {
public:
    enum class Result { Drawn, NoScript, Cancelled, Failed };

    TMakeMataDBM() = default;

    // Takes the path when the file exists, else clears it.
    void SetScript(const QString &path);
    const QString &script() const { return script_; }
    // The print correction in millimetres, kept to four decimals.
    void SetOffsets(double xMm, double yMm);
    // Millimetres × 10, truncated toward zero: the plotter's offsets.
    int offsetUnitsX() const;
    int offsetUnitsY() const;

    // Draws all pages; the plotter must have its page files set. On Failed
    // the reason is in errorString() and the pages drawn so far are saved
    // (the caller deletes them); on Cancelled likewise.
    Result DrawPages(TPrnPlotY &plot, RenderObserver *observer = nullptr);
    // As DrawPages, reading the script from an open device instead of the file.
    Result DrawPages(QIODevice &script, TPrnPlotY &plot, RenderObserver *observer = nullptr);
    const QString &errorString() const { return error_; }

    // Script fields as comma text; a field that is no integer counts as 0.
    static int field(const QStringList &fields, int index);
    // A position or size field, bounded to ±MaxCoordinate (100 m in script
    // units), so that sizes and differences of positions cannot overflow.
    static int coordinate(const QStringList &fields, int index);
    static constexpr int MaxCoordinate = 1000000;

private:
    bool drawLine(TPrnPlotY &plot, const QStringList &fields, RenderObserver *observer);
    bool drawPicture(TPrnPlotY &plot, int x1, int y1, int x2, int y2, const QString &file,
                     bool acceptJpegLong);
    bool drawLogo(TPrnPlotY &plot, int x1, int y1, int x2, int y2, const QString &file);
    const QImage *bitmap(const QString &file, int kind);

    QString script_;
    qint64 offsetX_ = 0; // ten-thousandths of a millimetre
    qint64 offsetY_ = 0;
    QString error_;
    QString cachedPath_;
    QImage cached_;
};
