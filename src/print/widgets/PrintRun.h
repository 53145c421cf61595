#pragma once

#include "print/PrintPipeline.h"
#include "print/PrintSettings.h"
#include "slip/SlipData.h"
#include "slip/SlipFile.h"

#include <QObject>
#include <QString>

class MessageService;
class PrinterService;
class QWidget;

// One entry point for the main window's print commands. The main window keeps
// one PrintRun for its life (it holds the run's settings: titles, copies,
// format, company-name setting and corrections) and calls:
//
//   PrintAction         -> printCommand(slip)
//   PreviewAction       -> print(slip, true)
//   PrintSetupAction    -> printerSetup(slip.slipDiv, false)
//   "PDFに保存(&D)..."  -> exportPdfDialog(slip, start)
//
// The print snapshot lives in Dat/Tmp/<prefix>PrTmpDat2 until the main window
// deletes it at exit (removeSnapshot()).
class PrintRun : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PrintRun)
public:
    struct Context {
        QString appDir;       // with a trailing "/"
        QString settingsFile; // <executable>.ini
        QString prefix;       // the instance prefix
        SlipFile::Context slip;
    };
    enum class Setup { Print, Preview, Cancelled };

    // window: the parent of every dialog. printers and messages must outlive
    // the run.
    PrintRun(Context context, PrinterService &printers, MessageService &messages, QWidget *window);
    ~PrintRun() override;

    PrintSettings &settings() { return settings_; }
    // Re-reads Dat/Mst/DefPrDat (after the options dialog); the corrections stay.
    void reloadDefaults();
    // The name of the open slip file without folder; empty for a new slip.
    void setDocumentName(const QString &name) { documentName_ = name; }
    QString jobTitle() const;

    // The printer settings dialog; on OK or preview its values become the
    // run's settings. forPrint: OK reads "印刷" and the preview button shows;
    // otherwise (printer setup) the preview button is hidden and help is 39.
    Setup printerSetup(int slipKind, bool forPrint);
    // Dialog, then print or preview. True when printing was started.
    bool printCommand(const SlipData &slip);
    // Snapshot, print data, pages, then preview (preview) or print at once.
    // True when printing was started.
    bool print(const SlipData &slip, bool preview);
    // Draws an existing script and previews or prints it.
    bool Render(const QString &scriptPath, bool preview);

    // The slip as a PDF at pdfPath with the run's settings.
    bool exportPdf(const SlipData &slip, const QString &pdfPath, QString *error);
    // Asks for the file name, starting at start (a proposed file path),
    // then exportPdf; errors are shown.
    bool exportPdfDialog(const SlipData &slip, const QString &start);

    QString snapshotPath() const;
    void removeSnapshot();

private:
    // Until the company-name setting is filled in, the first print, preview
    // or PDF of the process says so (and goes on).
    void warnOfPlaceholderCompany();
    bool makeScript(const SlipData &slip, QString *script);
    // The print data job of a slip with the run's settings.
    PrintPipeline::Job jobFor(const SlipData &slip) const;

    Context context_;
    PrinterService &printers_;
    MessageService &messages_;
    QWidget *window_;
    PrintSettings settings_;
    QString documentName_;
};
