#pragma once

#include <QRect>

class QPainter;
class SlipGridView;

// Draws the grid's header row, row numbers and the two text lines of each
// visible data row, with the row colours and the silver separators.
namespace SlipGridPainter {

void paint(QPainter &p, const SlipGridView &view, const QRect &exposed);

} // namespace SlipGridPainter
