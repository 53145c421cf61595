#pragma once

#include "slip/SaveType.h"

#include <QList>
#include <QString>

class IniFile;

// Templates: partial slips kept for reuse in the template folder, one .tvt
// file each. The file name is a generated code and carries no meaning; the
// name the user gave and the category are in the file's [Template] section.
namespace Templates {

// "顧客", "車両", ... for the categories; "全て表示" for sstAll.
QString categoryLabel(int category);
// The save dialog's description of what a category holds; empty for sstAll.
QString categoryDescription(int category);

struct Entry {
    QString fileName; // bare name inside the template folder
    QString name;     // the user's name; empty when the file has no [Template]
    int category = 0; // 1..5, or 0 when the file names no known category
    QString detail;   // customer, vehicle or line texts by category
};

// The detail text of a template file of the category (a value name as stored).
QString detailText(const IniFile &ini, const QString &categoryName);

// The .tvt files of folder whose category matches filter (0 or anything
// outside 1..5: all). Files without a readable [Template] section appear only
// in the unfiltered list, with an empty name and no category. A missing
// folder gives an empty list.
QList<Entry> list(const QString &folder, int filter);

// A path for a new template in folder that no file uses yet.
QString newTemplatePath(const QString &folder);

// Writes the [Template] section (not flushed); the slip content follows
// through the slip file's save with the category as scope.
void writeHeader(IniFile &ini, TSlipSaveType category, const QString &name);

} // namespace Templates
