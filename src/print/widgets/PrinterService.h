#pragma once

#include "print/PageGeometry.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QPrinter;
class QWidget;

// The printer information service: the operations the printer settings
// dialog, the preview and printing need, over the platform's printing
// interface. Tests give the windows a fake.
class PrinterService {
public:
    struct Status {
        bool paused = false;
        bool deleting = false;
        int error = 0; // non-zero: some other trouble
        QString driver;
        QString port;
        QString comment;
    };

    virtual ~PrinterService() = default;

    virtual QStringList printerNames() const = 0;
    virtual int currentPrinter() const = 0; // -1 with no printer
    virtual void selectPrinter(int index) = 0;

    virtual bool acceptsOrientation() const = 0;
    virtual bool acceptsPaperSize() const = 0;
    virtual bool acceptsPaperSource() const = 0;

    virtual QStringList paperSizeNames() const = 0;
    virtual int paperSize() const = 0;
    virtual void setPaperSize(int index) = 0;
    virtual QStringList paperSourceNames() const = 0;
    virtual int paperSource() const = 0;
    virtual void setPaperSource(int index) = 0;
    virtual bool landscape() const = 0;
    virtual void setLandscape(bool on) = 0;

    // Makes the changed settings those of the printer used for printing.
    virtual void apply() {}
    // The driver's own properties dialog on the current settings; true when
    // the user accepted it (the settings are then reloaded).
    virtual bool propertiesDialog(QWidget *parent) = 0;

    virtual Status status() const = 0;
    virtual PageGeometry geometry() const = 0;
    // The device pages are printed on; null when there is no printer.
    virtual QPrinter *printer() = 0;

    QString currentPrinterName() const { return printerNames().value(currentPrinter()); }
    QString currentPaperName() const { return paperSizeNames().value(paperSize()); }
};

// The real service over Qt Print Support. It asks the platform for printers
// (which may reach the print spooler) only when one of its operations is
// first used, never when it is made.
std::unique_ptr<PrinterService> makeQtPrinterService();

// A service made by make on the first use of any operation and kept from
// then on; until then nothing is asked of the printers.
std::unique_ptr<PrinterService> makeLazyPrinterService(std::function<std::unique_ptr<PrinterService>()> make);
