#include "PrintPipeline.h"

#include "DatePattern.h"
#include "LogoSetting.h"
#include "PdfExport.h"
#include "TSlipMakeDBM.h"
#include "lines/FixedPoint.h"
#include "lines/LineItems.h"
#include "lines/RowTransfer.h"
#include "platform/AppFolder.h"
#include "platform/IniFile.h"
#include "slip/Totals.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::StringLiterals;

namespace PrintPipeline {

QString datePattern(const QString &settingsFile)
{
    return IniFile(settingsFile).readInteger(u"Date"_s, u"Date"_s, 0) != 0
               ? QString::fromUtf16(DatePattern::Japanese)
               : QString::fromUtf16(DatePattern::Western);
}

namespace {

// "10", "8", "0"; a rate with decimals keeps them ("8.5").
QString rateKey(qint64 rate)
{
    return Totals::rateText(rate);
}

void writePrintOnlyKeys(IniFile &ini, const SlipData &slip, const SlipFile::Context &context,
                        const QString &logoPath)
{
    const QString price = u"Price"_s;
    Totals::TaxBreakdown tax;
    Totals::compute(Totals::inputOf(slip, context.categories), &tax);
    // The two rates of today and the tax-free share are always there, so a
    // format can print them without asking.
    for (qint64 rate : {10 * Fixed::One, Totals::ReducedRate}) {
        ini.writeInteger(price, u"Base"_s + rateKey(rate), tax.share(rate).base);
        ini.writeInteger(price, u"Tax"_s + rateKey(rate), tax.share(rate).tax);
    }
    ini.writeInteger(price, u"Base0"_s, tax.share(0).base);
    for (const Totals::RateShare &r : tax.rates) {
        if (r.rate == 10 * Fixed::One || r.rate == Totals::ReducedRate || r.rate == 0)
            continue;
        ini.writeInteger(price, u"Base"_s + rateKey(r.rate), r.base);
        ini.writeInteger(price, u"Tax"_s + rateKey(r.rate), r.tax);
    }
    ini.writeInteger(price, u"Untaxed"_s, tax.share(0).base + tax.untaxed);

    const QString number = logoPath.isEmpty() ? QString() : LogoSetting::load(logoPath).registrationNumber();
    ini.writeString(u"Invoice"_s, u"RegNo"_s, number);
    ini.writeString(u"Invoice"_s, u"RegNoText"_s, number.isEmpty() ? QString() : u"登録番号 "_s + number);
}

// Lines of a file written as a stream, in blocks.
class LineStream {
public:
    explicit LineStream(QIODevice &device) : device_(device) {}

    void put(const QByteArray &line)
    {
        putBytes(line);
        putBytes("\r\n");
    }
    void putBytes(const QByteArray &bytes)
    {
        buffer_ += bytes;
        if (buffer_.size() >= BlockSize)
            flush();
    }
    bool flush()
    {
        ok_ = ok_ && device_.write(buffer_) == buffer_.size();
        buffer_.clear();
        return ok_;
    }

private:
    static constexpr qsizetype BlockSize = 1 << 16;
    QIODevice &device_;
    QByteArray buffer_;
    bool ok_ = true;
};

bool writeFailed(QString *error, const QString &path, const QString &reason)
{
    if (error)
        *error = QDir::toNativeSeparators(path) + u" に書き込めません: "_s + reason;
    return false;
}

} // namespace

bool writeSnapshot(const QString &path, const SlipData &slip, const SlipFile::Context &context,
                   const QString &logoPath, QString *error, QString *unmappable)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    // A fresh file each run: keys of an earlier slip must not linger.
    QFile::remove(path);
    // Everything but the line items goes through an INI picture. The line
    // items, nearly all of a long slip, follow it as the last section,
    // streamed: they are never held a second time as lines of a file.
    const QString lines = u"Line"_s;
    IniFile ini(path);
    ini.setPrivate();
    SlipData head = slip;
    head.rows.clear();
    SlipFile::write(ini, head, sstAll, context, SlipFile::RowBlanks::Omitted);
    QString chars = ini.unmappableCharacters(); // of the slip itself, not of the keys for printing
    writePrintOnlyKeys(ini, slip, context, logoPath);
    QList<std::pair<QString, QString>> lineKeys;
    for (const QString &key : ini.keys(lines))
        lineKeys.append({key, ini.readString(lines, key)});
    ini.eraseSection(lines);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return writeFailed(error, path, file.errorString());
    const QList<TRowData> rows = RowTransfer::storedRows(slip.rows);
    LineStream out(file);
    out.putBytes(ini.toBytes());
    out.put('[' + lines.toLatin1() + ']');
    for (const auto &[key, value] : lineKeys)
        out.put(IniFile::keyLine(key, key == u"Count" ? QString::number(rows.size()) : value, &chars));
    SlipFile::forEachRowValue(
        rows, context, SlipFile::RowBlanks::Omitted,
        [&](const QString &key, const QString &value) { out.put(IniFile::keyLine(key, value, &chars)); });
    // The reduced-rate mark of each line item that has one.
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const TRowData &row = rows.at(i);
        const LineItems::RowKind kind = LineItems::kindOf(row, context.categories);
        const qint64 rate = row.TaxRate == -Fixed::One ? slip.taxRate : row.TaxRate;
        if (kind != LineItems::RowKind::Blank && kind != LineItems::RowKind::Subtotal &&
            rate == Totals::ReducedRate)
            out.put(IniFile::keyLine(SlipFile::rowKey(u"Reduced"_s, i), u"※"_s, &chars));
    }

    if (unmappable) {
        // A slip read from a damaged file still prints: what CP932 cannot
        // hold comes out as "?", and the caller says which characters.
        *unmappable = chars;
    } else if (!chars.isEmpty()) {
        file.cancelWriting();
        if (error)
            *error = QDir::toNativeSeparators(path) + u" に書き込めません"_s + u"\n(保存できない文字: "_s +
                     chars + u')';
        return false;
    }
    if (!out.flush() || !file.commit())
        return writeFailed(error, path, file.errorString());
    return true;
}

bool snapshotOfFile(const QString &slipPath, const QString &snapshotPath, const QString &appDir,
                    const QString &logoPath, QString *error, QString *unmappable)
{
    const AppFolder folder(appDir);
    const SlipFile::Context context{LineCategoryList::load(folder.lineCategoriesFile()),
                                    QDate::currentDate()};
    SlipData slip;
    {
        // The parsed file goes as soon as the slip is read: a large slip is
        // not held twice while its snapshot is written.
        const IniFile file(slipPath);
        if (!file.readable()) {
            if (error)
                *error = slipPath + u" を読み込めません"_s;
            return false;
        }
        SlipFile::read(file, slip, sstAll, context);
    }
    Totals::recompute(slip, context.categories);
    return writeSnapshot(snapshotPath, slip, context, logoPath, error, unmappable);
}

QString unmappableWarning(const QString &characters)
{
    QString distinct;
    for (qsizetype i = 0; i < characters.size();) {
        // A character beyond the basic plane is two UTF-16 units.
        const qsizetype n = characters.at(i).isHighSurrogate() && i + 1 < characters.size() ? 2 : 1;
        const QString c = characters.mid(i, n);
        if (!distinct.contains(c))
            distinct += c;
        i += n;
    }
    return distinct.isEmpty() ? QString() : u"警告: 次の文字は印刷できないため「?」になります: "_s + distinct;
}

bool makeScript(const Job &job, PrintProgress *progress, QString *scriptPath, QString *error,
                QString *unmappable)
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
    const bool made = dbm.MakePrintData(*scriptPath);
    if (unmappable)
        *unmappable = dbm.unmappableCharacters();
    if (!made) {
        if (error)
            *error = dbm.errorString();
        return false;
    }
    return true;
}

bool exportPdf(const Job &job, const QString &pdfPath, const QString &title, double fixX, double fixY,
               PrintProgress *progress, QString *error, QString *unmappable)
{
    QString script;
    if (!makeScript(job, progress, &script, error, unmappable)) {
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
    pdf.title = title;
    pdf.offsetXMm = fixX;
    pdf.offsetYMm = fixY;
    const bool ok = PdfExport::write(pdf, error);
    QFile::remove(script);
    return ok;
}

} // namespace PrintPipeline
