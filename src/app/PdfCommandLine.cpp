#include "PdfCommandLine.h"

#include "platform/AppFolder.h"
#include "platform/Clock.h"
#include "platform/IniFile.h"
#include "print/FontSetup.h"
#include "print/LogoSetting.h"
#include "print/PrintFormat.h"
#include "print/PrintPipeline.h"
#include "print/PrintSettings.h"
#include "print/TSlipMakeDBM.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const QString ExportOption = u"--export-pdf"_s;

int fail(const QString &message, int code)
{
    std::fputs((message + u'\n').toLocal8Bit().constData(), stderr);
    if (code == 2)
        std::fputs(
            QString(
                u"使い方: torvane --export-pdf 出力.pdf 伝票.tvx [--format 書式名] [--logo 社名設定名]\n"_s)
                .toLocal8Bit()
                .constData(),
            stderr);
    return code;
}

} // namespace

bool isPdfCommandLine(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--export-pdf") == 0)
            return true;
    }
    return false;
}

std::optional<int> runPdfCommandLine(const QStringList &args, const QString &appDir)
{
    if (!args.contains(ExportOption))
        return std::nullopt;
    QStringList files;
    QString format;
    QString logo;
    for (int i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == ExportOption)
            continue;
        if (a == u"--format" || a == u"--logo") {
            if (i + 1 >= args.size())
                return fail(a + u" に名前がありません"_s, 2);
            (a == u"--format" ? format : logo) = args.at(++i);
        } else if (a.startsWith(u"--")) {
            return fail(a + u": 不明なオプションです"_s, 2);
        } else {
            files << a;
        }
    }
    if (files.size() != 2)
        return fail(u"出力ファイルと伝票ファイルを指定してください"_s, 2);
    const QString pdfPath = files.at(0);
    const QString slipPath = QFileInfo(files.at(1)).absoluteFilePath();
    if (!QFileInfo(slipPath).isFile())
        return fail(slipPath + u" が見つかりません"_s, 1);

    FontSetup::installSubstitutions();
    const AppFolder folder(appDir);
    const QString settingsFile = folder.settingsFile();
    const PrintSettings settings = PrintSettings::load(appDir, settingsFile);

    PrintPipeline::Job job;
    job.appDir = appDir;
    job.prefix = QString::number(Clock::tickCount());
    job.snapshotPath = TSlipMakeDBM::snapshotPath(appDir, job.prefix);
    const int kind = IniFile(slipPath).readInteger(u"No"_s, u"SlipDiv"_s, 0);
    job.formatPath = format.isEmpty() ? settings.formatOf(kind) : folder.formatFile(format);
    if (job.formatPath.isEmpty() || !QFileInfo(job.formatPath).isFile())
        return fail(
            (format.isEmpty() ? u"印刷書式が指定されていません"_s : job.formatPath + u" が見つかりません"_s),
            1);
    job.logoPath = logo.isEmpty() ? settings.logoPath : folder.logoFile(logo);
    job.titles = settings.titlesOf(kind);
    job.copies = settings.copies;
    job.datePattern = PrintPipeline::datePattern(settingsFile);

    if (const QString warning = LogoSetting::companyWarningOnce(job.logoPath); !warning.isEmpty())
        std::fputs((warning + u'\n').toLocal8Bit().constData(), stderr);
    if (!PrintFormat::looksLikeFormat(job.formatPath))
        std::fputs((PrintFormat::notAFormatWarning(job.formatPath) + u'\n').toLocal8Bit().constData(),
                   stderr);

    QString error;
    // The totals printed are computed from the slip's lines and costs, as
    // the main window prints them, not taken from the file.
    QString fromSlip;
    if (!PrintPipeline::snapshotOfFile(slipPath, job.snapshotPath, appDir, job.logoPath, &error, &fromSlip)) {
        QFile::remove(job.snapshotPath);
        return fail(error, 1);
    }
    const QString title = QFileInfo(slipPath).fileName() + u" - Torvane"_s;
    QString unmappable;
    const bool ok = PrintPipeline::exportPdf(job, pdfPath, title, settings.fixX, settings.fixY, nullptr,
                                             &error, &unmappable);
    QFile::remove(job.snapshotPath);
    if (!ok)
        return fail(error, 1);
    // Titles or slip text that CP932 cannot hold come out as "?": say so.
    if (const QString w = PrintPipeline::unmappableWarning(fromSlip + unmappable); !w.isEmpty())
        std::fputs((w + u'\n').toLocal8Bit().constData(), stderr);
    return 0;
}
