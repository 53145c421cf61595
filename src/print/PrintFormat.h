#pragma once

#include <QString>
#include <QStringList>

// The print format files in Dat/Fmt/ and the rule that decides which of them
// the program offers.
namespace PrintFormat {

// The value a format's [Global] ApplicationCode must hold to be listed.
inline constexpr char16_t ApplicationCode[] = u"wrly_tolvo";
// The format type of slip formats.
inline constexpr char16_t SlipFormatType[] = u"伝票";

// True when the file is a usable format of kind formatType: [Global]
// FormatType equals formatType, FormatName equals the file name without its
// extension (letter case counts) and ApplicationCode equals "wrly_tolvo".
bool isListed(const QString &filePath, const QString &formatType);

// Whether the file can be a print format at all: it has a [Global] section.
// Anything else prints an empty page.
bool looksLikeFormat(const QString &filePath);
// "<file> は印刷書式ではありません…": the warning for such a file.
QString notAFormatWarning(const QString &filePath);

// Clears names and fills it with the names (file names without extension) of
// the listed formats in <appDir>Dat/Fmt/, in name order. A missing or empty
// folder gives an empty list.
void ListPrintFormats(const QString &appDir, const QString &formatType, QStringList &names);

} // namespace PrintFormat
