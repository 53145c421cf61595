#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The printer's page as the page renderer and the preview see it. Device
// values are in printer dots; when the resolution differs across and down, the
// smaller one is raised to the larger and that axis's dot values are scaled
// by the same factor ("corrected" values), so that one dot is square.
class PageGeometry {
public:
    PageGeometry() = default;
    // dpi: dots per inch across and down; physical: the sheet; printable and
    // offset: the printable area and its top-left corner on the sheet; scale:
    // the printer's scaling percentage (100 when it has none).
    PageGeometry(QSize dpi, QSize physical, QSize printable, QPoint offset, int scale = 100);

    // A sheet of the given size in tenths of a millimetre with no unprintable
    // margin (PDF output).
    static PageGeometry wholeSheet(QSize tenthsMm, int dpi);

    bool isValid() const { return dpi_.width() > 0 && dpi_.height() > 0; }

    // Device values as the printer reports them.
    QSize deviceDpi() const { return dpi_; }
    QSize devicePhysical() const { return physical_; }
    QSize devicePrintable() const { return printable_; }
    QPoint deviceOffset() const { return offset_; }

    // Corrected values (square dots).
    int dpi() const;
    QSize physicalSize() const;
    QSize printableSize() const;
    QPoint printableOffset() const;

    // The page in tenths of a millimetre: the logical extent of every page
    // picture; one script unit is 0.1 mm on the sheet at 100 % scale.
    QSize pageSize() const;
    // Page height / page width.
    double aspectRatio() const;

    // Where the page picture goes on a device whose origin is the corner of
    // the printable area: the whole physical sheet, so that the picture's
    // origin lands on the sheet's corner.
    QRect sheetRectOnDevice() const;

private:
    double factorX() const;
    double factorY() const;

    QSize dpi_;
    QSize physical_;
    QSize printable_;
    QPoint offset_;
    int scale_ = 100;
};
