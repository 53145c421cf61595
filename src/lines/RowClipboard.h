#pragma once

#include "lines/RowData.h"

#include <QList>
#include <QString>

#include <optional>

// The plain-text layout in which the grid copies rows: an empty line, the
// marker line, then one row text per row. Unlike the slip file, discount rows
// keep their positive magnitudes here.
namespace RowClipboard {

inline const QString Marker = QStringLiteral("wrenly_cripboadtext id19234567312341231545454654235635");

// Lines end with CR LF.
QString make(const QList<TRowData> &rows);

// The rows of a text in this layout, in order; lines of fewer than nine
// fields are skipped. Nothing when the text is not in the layout (fewer than
// two lines, or the second line is not the marker).
std::optional<QList<TRowData>> parse(const QString &text);

} // namespace RowClipboard
