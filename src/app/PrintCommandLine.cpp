#include "PrintCommandLine.h"

#include "print/PrintPipeline.h"

#include "platform/AppFolder.h"
#include "platform/Clock.h"
#include "platform/CommaText.h"
#include "platform/IniFile.h"
#include "print/LogoSetting.h"
#include "print/PrintFormat.h"
#include "print/PrintSettings.h"
#include "print/TSlipMakeDBM.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QString PrintDataOption = u"--print-data"_s;
const QString ListFormatsOption = u"--list-formats"_s;

void printErr(const QString &text)
{
    std::fputs((text + u'\n').toLocal8Bit().constData(), stderr);
}

void printOut(const QString &text)
{
    std::fputs((text + u'\n').toLocal8Bit().constData(), stdout);
}

QString usage()
{
    return u"使い方:\n"
           u"  torvane --print-data 伝票.tvx 書式.fmt [--copies 1,2] [--titles \"見積書,見積書(控),,\"]\n"
           u"          [--logo 会社名.Dat] [-o 出力ファイル]\n"
           u"  torvane --list-formats"_s;
}

int usageError(const QString &message)
{
    printErr(message);
    printErr(usage());
    return 2;
}

// Titles or slip text that CP932 cannot hold print as "?": say so.
void warnUnmappable(const TSlipMakeDBM &dbm, const QString &fromSlip)
{
    if (const QString w = PrintPipeline::unmappableWarning(fromSlip + dbm.unmappableCharacters());
        !w.isEmpty())
        printErr(w);
}

int listFormats(const QString &appDir)
{
    QStringList names;
    PrintFormat::ListPrintFormats(appDir, QString::fromUtf16(PrintFormat::SlipFormatType), names);
    for (const QString &n : names)
        printOut(n);
    return 0;
}

// The script of the run, into the file output or, without one, to standard output.
int writeScript(PrintRunInputs in, const QString &output, const QString &fromSlip)
{
    if (!output.isEmpty()) {
        // The file is replaced only by a complete script: a failed run
        // leaves an existing file as it was.
        in.scriptPath = output;
        QSaveFile out(output);
        if (!out.open(QIODevice::WriteOnly)) {
            printErr(output + u" に書き込めません: "_s + out.errorString());
            return 1;
        }
        TSlipMakeDBM dbm(in);
        if (!dbm.WritePrintData(out)) {
            out.cancelWriting();
            printErr(dbm.errorString());
            return 1;
        }
        warnUnmappable(dbm, fromSlip);
        if (!out.commit()) {
            printErr(output + u" に書き込めません: "_s + out.errorString());
            return 1;
        }
        return 0;
    }
    QFile out;
    if (!out.open(stdout, QIODevice::WriteOnly)) {
        printErr(u"標準出力に書き込めません"_s);
        return 1;
    }
    TSlipMakeDBM dbm(in);
    const bool ok = dbm.WritePrintData(out);
    // A full disk or a closed pipe shows only when the buffer goes out.
    const bool written = out.flush() && std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (!ok) {
        printErr(dbm.errorString());
        return 1;
    }
    if (!written) {
        printErr(u"標準出力に書き込めません"_s);
        return 1;
    }
    warnUnmappable(dbm, fromSlip);
    return 0;
}

int printData(const QStringList &args, const QString &appDir)
{
    QStringList files;
    QString copies, titles, logo, output;
    bool haveCopies = false, haveTitles = false, haveLogo = false;
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString &a = args.at(i);
        auto value = [&](QString *target) {
            if (i + 1 >= args.size())
                return false;
            *target = args.at(++i);
            return true;
        };
        if (a == u"--copies"_s) {
            if (!value(&copies))
                return usageError(u"--copies に値がありません。"_s);
            haveCopies = true;
        } else if (a == u"--titles"_s) {
            if (!value(&titles))
                return usageError(u"--titles に値がありません。"_s);
            haveTitles = true;
        } else if (a == u"--logo"_s) {
            if (!value(&logo))
                return usageError(u"--logo に値がありません。"_s);
            haveLogo = true;
        } else if (a == u"-o"_s) {
            if (!value(&output))
                return usageError(u"-o に値がありません。"_s);
        } else if (a.startsWith(u'-') && a.size() > 1) {
            return usageError(u"不明なオプションです: "_s + a);
        } else {
            files.append(a);
        }
    }
    if (files.size() != 2)
        return usageError(u"伝票ファイルと印刷書式ファイルを指定してください。"_s);

    PrintRunInputs in;
    const QString slipPath = files.at(0);
    in.formatPath = files.at(1);
    const AppFolder folder(appDir);
    // A bare format name means a format of the format folder.
    if (!QFileInfo::exists(in.formatPath) && !in.formatPath.contains(u'/')) {
        QString name = in.formatPath;
        if (name.endsWith(u".fmt"_s, Qt::CaseInsensitive))
            name.chop(4);
        const QString named = folder.formatFile(name);
        if (QFileInfo::exists(named))
            in.formatPath = named;
    }
    if (!QFileInfo(slipPath).isFile()) {
        printErr(slipPath + u" が見つかりません。"_s);
        return 1;
    }
    if (!QFileInfo(in.formatPath).isFile()) {
        printErr(in.formatPath + u" が見つかりません。"_s);
        return 1;
    }

    // What the main window would print with: the titles of the slip's kind,
    // the copies and the company-name setting of the print defaults.
    const QString settingsFile = folder.settingsFile();
    const PrintSettings defaults = PrintSettings::load(appDir, settingsFile);
    in.titles = defaults.titlesOf(IniFile(slipPath).readInteger(u"No"_s, u"SlipDiv"_s, 0));
    in.enabled = defaults.copies;
    in.logoPath = defaults.logoPath;
    in.datePattern = PrintPipeline::datePattern(settingsFile);
    if (haveCopies) {
        in.enabled = {};
        const QStringList list = CommaText::split(copies);
        if (list.isEmpty())
            return usageError(u"--copies には 1 から 4 の部数番号をカンマで区切って指定してください。"_s);
        for (const QString &c : list) {
            bool ok = false;
            const int n = c.trimmed().toInt(&ok);
            if (!ok || n < 1 || n > 4)
                return usageError(u"--copies には 1 から 4 の部数番号をカンマで区切って指定してください: "_s +
                                  copies);
            in.enabled[size_t(n - 1)] = true;
        }
    }
    if (haveTitles) {
        const QStringList t = CommaText::split(titles);
        if (t.size() > 4)
            return usageError(u"--titles に指定できる表題は 4 つまでです。"_s);
        for (int i = 0; i < 4; ++i)
            in.titles[size_t(i)] = t.value(i);
    }
    if (haveLogo)
        in.logoPath = logo;
    if (const QString warning = LogoSetting::companyWarningOnce(in.logoPath); !warning.isEmpty())
        printErr(warning);

    if (!PrintFormat::looksLikeFormat(in.formatPath))
        printErr(PrintFormat::notAFormatWarning(in.formatPath));

    // The totals printed are computed from the slip's lines and costs, as
    // the main window prints them, not taken from the file.
    in.snapshotPath = TSlipMakeDBM::snapshotPath(appDir, QString::number(Clock::tickCount()));
    QString error;
    QString fromSlip;
    if (!PrintPipeline::snapshotOfFile(slipPath, in.snapshotPath, appDir, in.logoPath, &error, &fromSlip)) {
        QFile::remove(in.snapshotPath);
        printErr(error);
        return 1;
    }
    const int result = writeScript(in, output, fromSlip);
    QFile::remove(in.snapshotPath);
    return result;
}

} // namespace

bool isPrintCommandLine(int argc, char **argv)
{
    return argc > 1 &&
           (std::strcmp(argv[1], "--print-data") == 0 || std::strcmp(argv[1], "--list-formats") == 0);
}

std::optional<int> runPrintCommandLine(const QStringList &args, const QString &appDir)
{
    if (args.size() < 2)
        return std::nullopt;
    if (args.at(1) == ListFormatsOption) {
        if (args.size() > 2)
            return usageError(u"--list-formats に引数は要りません。"_s);
        return listFormats(appDir);
    }
    if (args.at(1) == PrintDataOption)
        return printData(args, appDir);
    return std::nullopt;
}
