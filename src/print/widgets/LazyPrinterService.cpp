#include "PrinterService.h"

namespace {

// Forwards every operation to the service made on first use.
class LazyPrinterService : public PrinterService {
public:
    explicit LazyPrinterService(std::function<std::unique_ptr<PrinterService>()> make)
        : make_(std::move(make))
    {
    }

    QStringList printerNames() const override { return real().printerNames(); }
    int currentPrinter() const override { return real().currentPrinter(); }
    void selectPrinter(int index) override { real().selectPrinter(index); }
    bool acceptsOrientation() const override { return real().acceptsOrientation(); }
    bool acceptsPaperSize() const override { return real().acceptsPaperSize(); }
    bool acceptsPaperSource() const override { return real().acceptsPaperSource(); }
    QStringList paperSizeNames() const override { return real().paperSizeNames(); }
    int paperSize() const override { return real().paperSize(); }
    void setPaperSize(int index) override { real().setPaperSize(index); }
    QStringList paperSourceNames() const override { return real().paperSourceNames(); }
    int paperSource() const override { return real().paperSource(); }
    void setPaperSource(int index) override { real().setPaperSource(index); }
    bool landscape() const override { return real().landscape(); }
    void setLandscape(bool on) override { real().setLandscape(on); }
    void apply() override { real().apply(); }
    bool propertiesDialog(QWidget *parent) override { return real().propertiesDialog(parent); }
    Status status() const override { return real().status(); }
    PageGeometry geometry() const override { return real().geometry(); }
    QPrinter *printer() override { return real().printer(); }

private:
    PrinterService &real() const
    {
        if (!real_)
            real_ = make_();
        return *real_;
    }

    std::function<std::unique_ptr<PrinterService>()> make_;
    mutable std::unique_ptr<PrinterService> real_;
};

} // namespace

std::unique_ptr<PrinterService> makeLazyPrinterService(std::function<std::unique_ptr<PrinterService>()> make)
{
    return std::make_unique<LazyPrinterService>(std::move(make));
}
