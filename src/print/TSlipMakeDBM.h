#pragma once

#include "DatePattern.h"
#include "controls/EraTable.h"
#include "platform/IniFile.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <vector>

class PrintProgress;
class QIODevice;

// What one print run hands to print data generation.
struct PrintRunInputs {
    QString snapshotPath;          // the slip, written in full as a slip file
    QString formatPath;            // <appDir>Dat/Fmt/<name>.fmt
    QString logoPath;              // <appDir>Dat/Etc/<name>.Dat; written into "logo" lines as it stands
    QString scriptPath;            // where MakePrintData writes the script
    std::array<QString, 4> titles; // copy titles
    std::array<bool, 4> enabled{}; // which copies are printed
    QString datePattern = QString::fromUtf16(DatePattern::Western); // for DATE items without DateFormat

    // Whether the settings ask for era dates: the system pattern is then the
    // era one, and DATE items take their EraDateFormat where they have one.
    bool eraDates() const { return datePattern == QStringView(DatePattern::Japanese); }
};

// One printed item, gathered before it is written.
struct TWriteSetting {
    QString type;
    QString fontName;
    QString text;
    QString dateFormat;
    QString digit;
    QString mDigit;
    bool negative = false;
    qint64 x = 0;
    qint64 y = 0;
    int fontStyle = -1;
    int fontSize = -1;
    int fontColor = -1;
    int align = 0;
    int zeroDisp = 0;
};

// Turns a slip (the print snapshot) and a print format into the print data
// script: every enabled copy, every page, in one pass.
//
// The script is CP932 text with CR LF line ends, one drawing command a line,
// fields joined as comma text (a field holding a character of code 32 or
// below, a comma or a double quote is quoted, inner quotes doubled; a line of
// one empty field is ""). Pages are separated by "page" lines.
//
// One object serves one run: set the inputs, call MakePrintData once.
class TSlipMakeDBM {
public:
    explicit TSlipMakeDBM(PrintRunInputs inputs, PrintProgress *progress = nullptr);
    ~TSlipMakeDBM();
    TSlipMakeDBM(const TSlipMakeDBM &) = delete;
    TSlipMakeDBM &operator=(const TSlipMakeDBM &) = delete;

    // <appDir>Dat/Tmp/<instancePrefix>PrTmpDat2, the slip written for printing.
    static QString snapshotPath(const QString &appDir, const QString &instancePrefix);
    // <appDir>Dat/Tmp/<instancePrefix>PrTmpDat, the script.
    static QString scriptPath(const QString &appDir, const QString &instancePrefix);

    // Writes the script to inputs.scriptPath (replacing the file) and sets
    // scriptPath to it. Without a snapshot file nothing is written, scriptPath
    // is left empty and the result is true: there is nothing to print.
    // On failure returns false with the reason in errorString(); scriptPath
    // stays empty and the partial script stays on disk.
    bool MakePrintData(QString &scriptPath);

    // As MakePrintData, but writes the script to an open device (the command
    // line's standard output). Writes nothing and returns true without a
    // snapshot file.
    bool WritePrintData(QIODevice &out);
    // As WritePrintData, with the slip and the format given as their files'
    // bytes instead of the paths of the inputs.
    bool WritePrintData(const QByteArray &slip, const QByteArray &format, QIODevice &out);

    const QString &errorString() const { return error_; }
    // Characters of the last run's text (titles, values) that CP932 cannot
    // hold: they print as "?". Empty when everything printed as written.
    const QString &unmappableCharacters() const { return unmappable_; }

    // The page kind of page index i (from 0) of n pages: "FIRST", "NOMAL"
    // (a middle page), "LAST", "SINGLE", or empty.
    static QString PageKind(int i, int n);

    // Splits a [Script] value into the fields of one script line: a comma or
    // tab ends a field, also inside double quotes; a trailing separator adds
    // no empty field. A field that begins with a double quote is replaced by
    // its content up to the closing quote with doubled quotes reduced to one;
    // when that content is empty the field stays as written, unless it is
    // exactly "", which gives an empty field.
    static QStringList SplitScriptValue(const QString &text);

    // Limits that keep a broken format or slip from running away.
    static constexpr int MaxPages = 10000;             // pages per copy
    static constexpr int MaxColumns = 1024;            // items per section
    static constexpr qint64 MaxScriptBytes = 64 << 20; // size of the script

private:
    struct Item;
    struct Section;
    struct ScriptLine;
    struct Global;
    class Output;

    bool generate(QIODevice &out);
    void run();
    void readGlobal();
    int CountPages();
    QString PageKind() const { return PageKind(pageIndex_, pageCount_); }
    void ProcessSection(const QString &name);
    void LayOutLines(const QString &name);
    void WriteItem(const TWriteSetting &record);
    void EmitGlobalFont();
    void EmitItemFont(const QString &face, int style, int size, int colour);
    void WriteLogo();
    void CopyScript();

    // An IfValue condition: terms "section,key" separated by ";", each
    // optionally preceded by "!"; true when any term's slip value is filled
    // in (not blank, not a zero number, not the no-date value), or for a
    // "!" term when it is not.
    bool hasValue(const QString &condition) const;
    Section &section(const QString &name);
    const Item &item(Section &s, int n);
    QString valueText(const Section &s, const Item &item, const QString &value, bool commaList);
    QString amountText(const Section &s, const Item &item, double amount, bool negativeFlag);
    [[noreturn]] void fail(const QString &message) const;
    // The format file's name, for messages. It and the section names are the
    // user's text and may hold "%1": messages fill all their places in one
    // arg() call, so nothing typed is taken for a place.
    QString formatName() const;

    PrintRunInputs in_;
    PrintProgress *progress_;
    QString error_;
    QString unmappable_;
    EraTable eras_ = EraTable::standard();

    std::unique_ptr<IniFile> slip_;
    std::unique_ptr<IniFile> format_;
    std::unique_ptr<Global> global_;
    std::unique_ptr<Output> out_;
    QHash<QString, std::shared_ptr<Section>> sections_;
    std::vector<ScriptLine> script_;
    bool scriptLoaded_ = false;

    qint64 pitch_ = 0;
    qint64 lineCount_ = 0;
    int pageCount_ = 0;
    int copy_ = 0;
    int pageIndex_ = 0;
    qint64 lineIndex_ = 0;
    std::vector<double> pageSums_;

    struct FontMemory {
        QString face;
        int size = 0;
        int style = 0;
        int colour = 0;
    } font_;
    struct FillMemory {
        int style = 0;
        int colour = 16777215;
    } fill_;
};
