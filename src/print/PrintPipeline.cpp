#include "PrintPipeline.h"

#include "DatePattern.h"
#include "PdfExport.h"
#include "TSlipMakeDBM.h"
#include "platform/AppFolder.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace PrintPipeline {

QString datePattern(const QString &settingsFile)
{
    return IniFile(settingsFile).readInteger(u"Date"_s, u"Date"_s, 0) != 0
               ? QString::fromUtf16(DatePattern::Japanese)
               : QString::fromUtf16(DatePattern::Western);
}

bool writeSnapshot(const QString &path, const SlipData &slip, const SlipFile::Context &context,
                   QString *error)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // A fresh file each run: keys of an earlier slip must not linger.
    QFile::remove(path);
    IniFile ini(path);
    return SlipFile::save(ini, slip, sstAll, context, error);
}

bool makeScript(const Job &job, PrintProgress *progress, QString *scriptPath, QString *error)
{
    PrintRunInputs in;
    in.snapshotPath = job.snapshotPath;
    in.formatPath = job.formatPath;
    in.logoPath = job.logoPath;
    in.scriptPath = TSlipMakeDBM::scriptPath(job.appDir, job.prefix);
    in.titles = job.titles;
    in.enabled = job.copies;
    if (!job.datePattern.isEmpty())
        in.datePattern = job.datePattern;
    QDir().mkpath(QFileInfo(in.scriptPath).absolutePath());
    TSlipMakeDBM dbm(in, progress);
    scriptPath->clear();
    if (!dbm.MakePrintData(*scriptPath)) {
        if (error)
            *error = dbm.errorString();
        return false;
    }
    return true;
}

bool exportPdf(const Job &job, const QString &pdfPath, const QString &title, double fixX, double fixY,
               PrintProgress *progress, QString *error)
{
    QString script;
    if (!makeScript(job, progress, &script, error)) {
        // No page comes of a failed script: it is no clue to anyone here.
        QFile::remove(TSlipMakeDBM::scriptPath(job.appDir, job.prefix));
        return false;
    }
    if (script.isEmpty()) {
        if (error)
            *error = job.snapshotPath + u" が見つかりません"_s;
        return false;
    }
    PdfExport::Job pdf;
    pdf.scriptPath = script;
    pdf.pdfPath = pdfPath;
    pdf.tempDir = AppFolder(job.appDir).tempFolder();
    pdf.prefix = job.prefix;
    pdf.title = title;
    pdf.offsetXMm = fixX;
    pdf.offsetYMm = fixY;
    const bool ok = PdfExport::write(pdf, error);
    QFile::remove(script);
    return ok;
}

} // namespace PrintPipeline
