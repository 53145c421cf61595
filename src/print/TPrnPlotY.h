#pragma once

#include "PageGeometry.h"

#include <QBrush>
#include <QFont>
#include <QPen>
#include <QPicture>
#include <QString>

#include <QHash>

#include <functional>
#include <memory>

class QImage;
class QPainter;

// The plotter of page rendering. It records one page at a time into a page
// picture whose logical extent is the page in tenths of a millimetre, adds
// the print correction to every coordinate, and saves each page to its own
// file as soon as the page ends, so memory holds one page whatever the count.
class TPrnPlotY {
public:
    explicit TPrnPlotY(const PageGeometry &geometry);
    ~TPrnPlotY();
    TPrnPlotY(const TPrnPlotY &) = delete;
    TPrnPlotY &operator=(const TPrnPlotY &) = delete;

    // "<tempDir><prefix>_PTmp<n>.pic": the page files are Qt pictures.
    static QString pageFileName(const QString &tempDir, const QString &prefix, int page);

    void setOffsets(int x, int y); // script units
    void setPageFiles(const QString &tempDir, const QString &prefix);
    // Each finished page goes to sink, in page order, instead of to its page
    // file: a run that writes the pages straight on (PDF) keeps one page in
    // memory and touches no files. A sink that returns false ends drawing as
    // a page file that cannot be written does.
    using PageSink = std::function<bool(int page, const QPicture &picture)>;
    void setPageSink(PageSink sink) { sink_ = std::move(sink); }
    void setJobTitle(const QString &title) { jobTitle_ = title; }
    const QString &jobTitle() const { return jobTitle_; }
    // The font of text drawn before the first SetFont (the system menu font).
    void setDefaultFont(const QString &face, int height);

    // A page file that cannot be written ends drawing; the reason is kept.
    bool BeginPages();
    bool NextPage();
    bool EndPages();
    bool AbortPages() { return EndPages(); }
    const QString &errorString() const { return error_; }

    void SetFont(const QString &face, int height, int style, int colour);
    void SetPen(int width, int style, int colour);
    void SetBrush(int style, int colour);

    void TextLeft(int x, int y, const QString &text);
    void TextRight(int x, int y, const QString &text);
    void TextCentre(int x, int y, const QString &text);
    void DrawLine(int x1, int y1, int x2, int y2);
    void DrawFrame(int x1, int y1, int x2, int y2);
    void FillBox(int x1, int y1, int x2, int y2);
    void EllipseBox(int x1, int y1, int x2, int y2);
    void DrawBitmap(int x1, int y1, int x2, int y2, const QImage &bitmap);
    // Plays a picture back stretched into the box; the picture's own extent
    // is taken from its bounding rectangle.
    void DrawPicture(int x1, int y1, int x2, int y2, const QPicture &picture);

    bool drawing() const { return painter_ != nullptr; }
    int pageCount() const { return page_; }
    const PageGeometry &geometry() const { return geometry_; }
    QSize pageSize() const { return geometry_.pageSize(); }
    QString currentPageFile() const;
    QString pageFile(int page) const { return pageFileName(tempDir_, prefix_, page); }
    const QString &tempDir() const { return tempDir_; }
    const QString &prefix() const { return prefix_; }

    // Windows colour 0x00BBGGRR; system colours (high byte set) are the
    // text colour, black.
    static QColor colorFromWin(int colour);
    // A font whose character cell (ascent + descent) is height units high,
    // at most MaxCellHeight; a face the system cannot use gives the default face.
    static QFont cellFont(const QString &face, int height, int style);
    static QString usableFace(const QString &face);
    static constexpr int MaxCellHeight = 10000; // 1 m: beyond any sheet

private:
    void startPicture();
    bool finishPicture();
    QPoint at(int x, int y) const { return QPoint(x + offsetX_, y + offsetY_); }
    QRect box(int x1, int y1, int x2, int y2) const;
    void text(int x, int y, const QString &text, int align);

    PageGeometry geometry_;
    QString tempDir_;
    QString prefix_;
    QString jobTitle_;
    QString error_;
    int offsetX_ = 0;
    int offsetY_ = 0;
    int page_ = 0;

    QFont font_;
    QColor fontColor_ = Qt::black;
    QPen pen_;
    QBrush brush_;

    PageSink sink_;
    // A script sets the same few fonts on every page; a font made once keeps
    // its glyph engine, so text does not look the face up again.
    QHash<QString, QFont> fonts_;

    std::unique_ptr<QPicture> picture_;
    std::unique_ptr<QPainter> painter_;
};
