#include "PrinterService.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

using namespace Qt::StringLiterals;

namespace {

// Qt names the paper sources only by an enumeration; these are the names
// shown in the dialog.
QString sourceName(QPrinter::PaperSource source)
{
    switch (source) {
    case QPrinter::OnlyOne:
        return u"上段"_s;
    case QPrinter::Lower:
        return u"下段"_s;
    case QPrinter::Middle:
        return u"中段"_s;
    case QPrinter::Manual:
        return u"手差し"_s;
    case QPrinter::Envelope:
        return u"封筒"_s;
    case QPrinter::EnvelopeManual:
        return u"封筒手差し"_s;
    case QPrinter::Auto:
        return u"自動選択"_s;
    case QPrinter::Tractor:
        return u"トラクタ"_s;
    case QPrinter::SmallFormat:
        return u"小サイズ"_s;
    case QPrinter::LargeFormat:
        return u"大サイズ"_s;
    case QPrinter::LargeCapacity:
        return u"大容量"_s;
    case QPrinter::Cassette:
        return u"カセット"_s;
    case QPrinter::FormSource:
        return u"用紙トレイ"_s;
    default:
        return u"トレイ"_s + QString::number(int(source));
    }
}

class QtPrinterService : public PrinterService {
public:
    QtPrinterService() : printer_(std::make_unique<QPrinter>(QPrinter::HighResolution))
    {
        names_ = QPrinterInfo::availablePrinterNames();
        const QString def = QPrinterInfo::defaultPrinterName();
        if (!names_.isEmpty())
            selectPrinter(std::max(0, int(names_.indexOf(def.isEmpty() ? names_.first() : def))));
    }

    QStringList printerNames() const override { return names_; }
    int currentPrinter() const override { return current_; }

    void selectPrinter(int index) override
    {
        if (index < 0 || index >= names_.size())
            return;
        current_ = index;
        info_ = QPrinterInfo::printerInfo(names_.at(index));
        printer_->setPrinterName(names_.at(index));
        sizes_ = info_.supportedPageSizes();
        sources_ = paperSources();
    }

    bool acceptsOrientation() const override { return current_ >= 0; }
    bool acceptsPaperSize() const override { return current_ >= 0 && !sizes_.isEmpty(); }
    bool acceptsPaperSource() const override { return current_ >= 0 && !sources_.isEmpty(); }

    QStringList paperSizeNames() const override
    {
        QStringList names;
        for (const QPageSize &size : sizes_)
            names << size.name();
        return names;
    }
    int paperSize() const override
    {
        const QPageSize now = printer_->pageLayout().pageSize();
        for (int i = 0; i < sizes_.size(); ++i) {
            if (sizes_.at(i).isEquivalentTo(now))
                return i;
        }
        return -1;
    }
    void setPaperSize(int index) override
    {
        if (index >= 0 && index < sizes_.size())
            printer_->setPageSize(sizes_.at(index));
    }

    QStringList paperSourceNames() const override
    {
        QStringList names;
        for (QPrinter::PaperSource s : sources_)
            names << sourceName(s);
        return names;
    }
    int paperSource() const override { return int(sources_.indexOf(printer_->paperSource())); }
    void setPaperSource(int index) override
    {
        if (index >= 0 && index < sources_.size())
            printer_->setPaperSource(sources_.at(index));
    }

    bool landscape() const override { return printer_->pageLayout().orientation() == QPageLayout::Landscape; }
    void setLandscape(bool on) override
    {
        printer_->setPageOrientation(on ? QPageLayout::Landscape : QPageLayout::Portrait);
    }

    bool propertiesDialog(QWidget *parent) override
    {
        QPrintDialog dialog(printer_.get(), parent);
        dialog.setOption(QAbstractPrintDialog::PrintToFile, false);
        if (dialog.exec() != QDialog::Accepted)
            return false;
        // The dialog may have switched the printer.
        const int index = int(names_.indexOf(printer_->printerName()));
        if (index >= 0 && index != current_) {
            current_ = index;
            info_ = QPrinterInfo::printerInfo(names_.at(index));
            sizes_ = info_.supportedPageSizes();
            sources_ = paperSources();
        }
        return true;
    }

    Status status() const override
    {
        Status s;
        if (current_ < 0)
            return s;
        switch (info_.state()) {
        case QPrinter::Idle:
        case QPrinter::Active:
            break;
        case QPrinter::Aborted:
            s.deleting = true;
            break;
        case QPrinter::Error:
            s.error = 1;
            break;
        }
        s.driver = info_.makeAndModel();
        s.port = info_.location();
        s.comment = info_.description();
        return s;
    }

    PageGeometry geometry() const override
    {
        const int dpi = printer_->resolution();
        const QRect paper = printer_->paperRect(QPrinter::DevicePixel).toRect();
        const QRect page = printer_->pageRect(QPrinter::DevicePixel).toRect();
        return PageGeometry(QSize(dpi, dpi), paper.size(), page.size(), page.topLeft() - paper.topLeft());
    }

    QPrinter *printer() override { return current_ >= 0 ? printer_.get() : nullptr; }

private:
    // Qt lists a printer's paper sources only on Windows; elsewhere the
    // printer does not report them and the dialog disables the box.
    QList<QPrinter::PaperSource> paperSources() const
    {
#ifdef Q_OS_WIN
        return printer_->supportedPaperSources();
#else
        return {};
#endif
    }

    std::unique_ptr<QPrinter> printer_;
    QPrinterInfo info_;
    QStringList names_;
    QList<QPageSize> sizes_;
    QList<QPrinter::PaperSource> sources_;
    int current_ = -1;
};

} // namespace

std::unique_ptr<PrinterService> makeQtPrinterService()
{
    return makeLazyPrinterService([] { return std::make_unique<QtPrinterService>(); });
}
