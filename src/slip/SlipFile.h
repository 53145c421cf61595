#pragma once

#include "SlipData.h"
#include "lines/LineCategories.h"
#include "slip/SaveType.h"

#include <functional>

class IniFile;

// The slip file form (.tvx, INI in CP932): which keys a scope writes and
// reads, in which order, with which defaults (each key is listed once, in
// SlipKeyTable.h). Also the form of templates and of the print snapshot.
namespace SlipFile {

struct Context {
    LineCategoryList categories; // for the sign rule and DigitType
    QDate today;                 // defaults on reading and the "車両なし" dates
};

// Whether a line item's empty values are written as keys. A slip file
// holds every key of every stored row; the print snapshot, read only by the
// print data generator (which takes a missing key as empty), leaves them
// out and stays far smaller for a long slip.
enum class RowBlanks { Written, Omitted };

// Writes the groups of the scope into ini (not flushed). Trailing rows
// without a category are not stored; inner ones are.
void write(IniFile &ini, const SlipData &slip, TSlipSaveType scope, const Context &context,
           RowBlanks blanks = RowBlanks::Written);

// The key of a line item's value: prefix + the row's index in five digits ("LineDiv00012").
QString rowKey(const QString &prefix, qsizetype i);

// The keys and values of stored rows (RowTransfer::storedRows) in the order
// write() puts them after the row count: for writers that stream the rows
// of a long slip instead of holding them as file lines.
void forEachRowValue(const QList<TRowData> &stored, const Context &context, RowBlanks blanks,
                     const std::function<void(const QString &key, const QString &value)> &take);

// Writes and flushes. A character that CP932 cannot hold, or a file that
// cannot be written, stops the save with "<path> に書き込めません" (and the
// characters named); the file on disk is then left as it was.
bool save(IniFile &ini, const SlipData &slip, TSlipSaveType scope, const Context &context, QString *error);

// Reads the groups of the scope from ini into slip; fields outside the scope
// keep their values. Unreadable values take their defaults. Rows past the
// last row key present in the file are blank, so they are not created.
void read(const IniFile &ini, SlipData &slip, TSlipSaveType scope, const Context &context);

// The header sections (1..7 in screen order) that a partial load of the scope
// fills, which the header editor then opens.
QList<int> sectionsFilledBy(TSlipSaveType scope);

// "お見積金額", "総合計金額", "ご請求金額" for the slip kinds 0..2; empty otherwise.
QString priceTitle(int slipDiv);

} // namespace SlipFile
