#pragma once

#include "print/widgets/PrinterService.h"
#include "support/RenderFolder.h"

#include <QList>
#include <QPrinter>
#include <QStringList>

#include <memory>

using namespace Qt::StringLiterals;

// Two printers: "Office" with A4/B5/A3 and two trays, "Label" that reports no
// paper sizes. Printing goes to a PDF file through a real QPrinter.
class FakePrinters : public PrinterService {
public:
    struct Printer {
        QString name;
        QStringList sizes;
        QStringList sources;
        int size = 0;
        int source = 0;
        bool landscape = false;
    };
    QList<Printer> printers{{u"Office"_s, {u"A4"_s, u"B5 (JIS)"_s, u"A3"_s}, {u"上段"_s, u"手差し"_s}},
                            {u"Label"_s, {}, {}}};
    int current = 0;
    int applied = 0;
    PageGeometry pageGeometry = a4Printer();
    QString pdfPath;
    std::unique_ptr<QPrinter> device;

    bool has() const { return current >= 0 && current < printers.size(); }
    QStringList printerNames() const override
    {
        QStringList names;
        for (const Printer &p : printers)
            names << p.name;
        return names;
    }
    int currentPrinter() const override { return printers.isEmpty() ? -1 : current; }
    void selectPrinter(int index) override
    {
        if (index >= 0 && index < printers.size())
            current = index;
    }
    bool acceptsOrientation() const override { return true; }
    // Like the real service, a list without printers answers with nothing.
    bool acceptsPaperSize() const override { return has() && !printers[current].sizes.isEmpty(); }
    bool acceptsPaperSource() const override { return has() && !printers[current].sources.isEmpty(); }
    QStringList paperSizeNames() const override { return has() ? printers[current].sizes : QStringList(); }
    int paperSize() const override { return acceptsPaperSize() ? printers[current].size : -1; }
    void setPaperSize(int i) override
    {
        if (has())
            printers[current].size = i;
    }
    QStringList paperSourceNames() const override
    {
        return has() ? printers[current].sources : QStringList();
    }
    int paperSource() const override { return acceptsPaperSource() ? printers[current].source : -1; }
    void setPaperSource(int i) override
    {
        if (has())
            printers[current].source = i;
    }
    bool landscape() const override { return has() && printers[current].landscape; }
    void setLandscape(bool on) override
    {
        if (has())
            printers[current].landscape = on;
    }
    void apply() override { ++applied; }
    bool propertiesDialog(QWidget *) override { return false; }
    Status status() const override { return {false, false, 0, u"Fake Driver"_s, u"usb://fake"_s, u"2階"_s}; }
    PageGeometry geometry() const override { return pageGeometry; }
    QPrinter *printer() override
    {
        if (!device) {
            device = std::make_unique<QPrinter>(QPrinter::HighResolution);
            device->setOutputFormat(QPrinter::PdfFormat);
            device->setOutputFileName(pdfPath);
        }
        return device.get();
    }
};
