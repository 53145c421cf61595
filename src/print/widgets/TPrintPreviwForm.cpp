#include "TPrintPreviwForm.h"

#include "PrinterService.h"
#include "TPreviewAbortForm.h"
#include "platform/MessageService.h"
#include "print/PageFiles.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

using namespace Qt::StringLiterals;

PreviewSheet::PreviewSheet(QWidget *parent) : QWidget(parent) {}

void PreviewSheet::setPage(const QPicture *page, QSize pageSize)
{
    page_ = page;
    pageSize_ = pageSize;
    update();
}

void PreviewSheet::setPrintableRect(const QRect &rect)
{
    printable_ = rect;
    update();
}

void PreviewSheet::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (page_)
        PageFiles::play(painter, *page_, pageSize_, QRectF(rect()));
    QPen outline(QColor(0xC0, 0xC0, 0xC0), 0, Qt::DotLine);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawRect(printable_.adjusted(0, 0, -1, -1));
}

namespace {

QToolButton *toolButton(QToolBar *bar, const QString &text)
{
    auto *button = new QToolButton(bar);
    button->setText(text);
    button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    bar->addWidget(button);
    return button;
}

} // namespace

TPrintPreviwForm::TPrintPreviwForm(PrinterService &printers, MessageService &messages, QWidget *parent)
    : QDialog(parent, Qt::Window | Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                          Qt::WindowCloseButtonHint),
      printers_(printers), messages_(messages), plot_(std::make_unique<TPrnPlotY>(printers.geometry()))
{
    setWindowTitle(u"印刷プレビュー"_s);
    setMinimumSize(650, 433);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto *bar = new QToolBar(this);
    PrintSpButton = toolButton(bar, u"印刷(&P)"_s);
    bar->addSeparator();
    MinusSpButton = toolButton(bar, u"縮小"_s);
    PlusSpbutton = toolButton(bar, u"拡大"_s);
    PlusSpbutton->setEnabled(false);
    bar->addSeparator();
    PrevSpeedButton = toolButton(bar, u"前頁"_s);
    PrevSpeedButton->setEnabled(false);
    PageCountPanel = new QLineEdit(u"00/00"_s, bar);
    PageCountPanel->setReadOnly(true);
    PageCountPanel->setAlignment(Qt::AlignCenter);
    PageCountPanel->setFixedWidth(70);
    PageCountPanel->setFocusPolicy(Qt::NoFocus);
    bar->addWidget(PageCountPanel);
    NextSpeedButton = toolButton(bar, u"次頁"_s);
    NextSpeedButton->setEnabled(false);
    bar->addSeparator();
    CloaseSpButton = toolButton(bar, u"閉じる(&C)"_s);
    layout->addWidget(bar);

    ScreenScBox = new QScrollArea(this);
    ScreenScBox->setBackgroundRole(QPalette::Dark);
    QPalette dark = ScreenScBox->palette();
    dark.setColor(QPalette::Dark, QColor(0x80, 0x80, 0x80));
    ScreenScBox->setPalette(dark);
    ScreenScBox->setWidgetResizable(false);
    // A fixed vertical bar keeps the client width, and so the fit-width
    // sheet, from changing when the sheet grows taller than the window.
    ScreenScBox->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    auto *canvas = new QWidget;
    canvas->setAutoFillBackground(false);
    PreviewImage = new PreviewSheet(canvas);
    Panel1 = new QWidget(canvas);
    ScreenScBox->setWidget(canvas);
    ScreenScBox->viewport()->installEventFilter(this);
    layout->addWidget(ScreenScBox, 1);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    const int widths[] = {250, 120, 200, 50};
    for (int width : widths) {
        auto *panel = new QLabel(StatusBar1);
        panel->setFixedWidth(width);
        StatusBar1->addWidget(panel);
    }
    layout->addWidget(StatusBar1);

    AbortForm = new TPreviewAbortForm(this);

    connect(PrintSpButton, &QToolButton::clicked, this, &TPrintPreviwForm::PrintPages);
    connect(MinusSpButton, &QToolButton::clicked, this, &TPrintPreviwForm::wholePage);
    connect(PlusSpbutton, &QToolButton::clicked, this, &TPrintPreviwForm::fitWidth);
    connect(NextSpeedButton, &QToolButton::clicked, this, &TPrintPreviwForm::nextPage);
    connect(PrevSpeedButton, &QToolButton::clicked, this, &TPrintPreviwForm::prevPage);
    connect(CloaseSpButton, &QToolButton::clicked, this, &QDialog::reject);
}

TPrintPreviwForm::~TPrintPreviwForm()
{
    deletePageFiles();
}

void TPrintPreviwForm::prepare()
{
    count_ = plot_->pageCount();
    aspect_ = plot_->geometry().aspectRatio();
    prepared_ = true;
    showPage(1);
    fitWidth();
    PrevSpeedButton->setEnabled(false);
    NextSpeedButton->setEnabled(count_ > 1);
    fillStatusBar();
}

void TPrintPreviwForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!prepared_)
        prepare();
    else if (PlusSpbutton->isEnabled())
        wholePage();
    else
        fitWidth();
}

void TPrintPreviwForm::showPage(int page)
{
    current_ = page;
    PageCountPanel->setText(QString::asprintf("%.2d/%.2d", page, count_));
    // A missing page file keeps the previous picture on the sheet.
    QPicture loaded;
    const QString path = plot_->pageFile(page);
    if (QFile::exists(path) && loaded.load(path)) {
        page_ = loaded;
        PreviewImage->setPage(&page_, plot_->pageSize());
    }
}

void TPrintPreviwForm::nextPage()
{
    if (current_ >= count_)
        return;
    PrevSpeedButton->setEnabled(true);
    showPage(current_ + 1);
    NextSpeedButton->setEnabled(current_ < count_);
    ScreenScBox->verticalScrollBar()->setValue(0);
}

void TPrintPreviwForm::prevPage()
{
    if (current_ <= 1)
        return;
    NextSpeedButton->setEnabled(true);
    showPage(current_ - 1);
    PrevSpeedButton->setEnabled(current_ > 1);
    ScreenScBox->verticalScrollBar()->setValue(0);
}

void TPrintPreviwForm::fitWidth()
{
    ScreenScBox->horizontalScrollBar()->setValue(0);
    ScreenScBox->verticalScrollBar()->setValue(0);
    const int client = ScreenScBox->viewport()->width();
    const int width = std::max(1, client - 40);
    const int height = int(width * aspect_);
    const QRect sheet(client / 2 - width / 2, 20, width, height);
    placeSheet(sheet, sheet.y() + sheet.height());
    PlusSpbutton->setEnabled(false);
    MinusSpButton->setEnabled(true);
}

void TPrintPreviwForm::wholePage()
{
    ScreenScBox->horizontalScrollBar()->setValue(0);
    ScreenScBox->verticalScrollBar()->setValue(0);
    const int client = ScreenScBox->viewport()->width();
    const int height = std::max(1, ScreenScBox->height() - 30);
    const int width = int(height / aspect_);
    const QRect sheet(client / 2 - width / 2, 15, width, height);
    placeSheet(sheet, sheet.y());
    MinusSpButton->setEnabled(false);
    PlusSpbutton->setEnabled(true);
}

void TPrintPreviwForm::placeSheet(const QRect &sheet, int spacerTop)
{
    PreviewImage->setGeometry(sheet);
    const PageGeometry &g = plot_->geometry();
    const QSize physical = g.physicalSize();
    if (!physical.isEmpty()) {
        const double fx = double(sheet.width()) / physical.width();
        const double fy = double(sheet.height()) / physical.height();
        const QPoint offset = g.printableOffset();
        const QSize printable = g.printableSize();
        PreviewImage->setPrintableRect(QRect(qRound(offset.x() * fx), qRound(offset.y() * fy),
                                             qRound(printable.width() * fx),
                                             qRound(printable.height() * fy)));
    }
    const int spacer = 20;
    Panel1->setGeometry(0, spacerTop, 1, spacer);
    ScreenScBox->widget()->resize(std::max(sheet.left(), 0) * 2 + sheet.width(),
                                  std::max(spacerTop + spacer, sheet.bottom() + 1));
}

void TPrintPreviwForm::resizeEvent(QResizeEvent *event)
{
    QDialog::resizeEvent(event);
    if (!prepared_)
        return;
    if (PlusSpbutton->isEnabled())
        wholePage();
    else
        fitWidth();
}

void TPrintPreviwForm::fillStatusBar()
{
    const QList<QLabel *> panels = StatusBar1->findChildren<QLabel *>(QString(), Qt::FindDirectChildrenOnly);
    if (panels.size() < 4)
        return;
    const QSize dpi = plot_->geometry().deviceDpi();
    panels[0]->setText(printers_.currentPrinterName());
    panels[1]->setText(QString::number(dpi.width()) + u'/' + QString::number(dpi.height()) + u"dpi"_s);
    panels[2]->setText(printers_.currentPaperName());
    panels[3]->clear(); // the background picture, never used here
}

void TPrintPreviwForm::scrollByWheel(QWheelEvent *event)
{
    const int notches = event->angleDelta().y() / 120;
    QScrollBar *bar = ScreenScBox->verticalScrollBar();
    bar->setValue(bar->value() - notches * 30);
    event->accept();
}

void TPrintPreviwForm::wheelEvent(QWheelEvent *event)
{
    scrollByWheel(event);
}

bool TPrintPreviwForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ScreenScBox->viewport() && event->type() == QEvent::Wheel) {
        scrollByWheel(static_cast<QWheelEvent *>(event));
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TPrintPreviwForm::PrintAll()
{
    ask_ = false;
    count_ = plot_->pageCount();
    PrintPages();
}

void TPrintPreviwForm::PrintPages()
{
    if (ask_ && messages_.ask(u"印刷しますか？"_s) != MessageService::Answer::Yes)
        return;
    AbortForm->clearCancel();
    AbortForm->ProgressBar1->setRange(0, count_);
    AbortForm->ProgressBar1->setValue(0);
    AbortForm->setWindowTitle(plot_->jobTitle().trimmed());
    AbortForm->Label1->setText(u"印刷中です..."_s);
    AbortForm->PrAbortButton->setEnabled(true);
    AbortForm->setOnTop(true);
    AbortForm->show();

    QPrinter *printer = printers_.printer();
    QPainter painter;
    if (!printer) {
        messages_.show(MessageService::Kind::Error, u"有効なプリンタが見つかりません"_s);
    } else {
        printer->setDocName(plot_->jobTitle());
        printer->setFullPage(false);
        if (!painter.begin(printer)) {
            messages_.show(MessageService::Kind::Error, printer->printerName() + u" に印刷できません"_s);
        } else {
            // The device origin is the printable area's corner; the page
            // picture covers the whole physical sheet.
            const QRect target = printers_.geometry().sheetRectOnDevice();
            bool aborted = false;
            for (int n = 1; n <= count_; ++n) {
                if (AbortForm->cancelled()) {
                    AbortForm->setOnTop(false);
                    if (messages_.askInformation(u"中止しますか？"_s)) {
                        printer->abort();
                        aborted = true;
                        break;
                    }
                    AbortForm->clearCancel();
                    AbortForm->setOnTop(true);
                }
                // A missing page file prints an empty sheet.
                PageFiles::playFile(painter, plot_->pageFile(n), plot_->pageSize(), target);
                if (n < count_)
                    printer->newPage();
                QApplication::processEvents();
                AbortForm->ProgressBar1->setValue(n);
            }
            painter.end();
            Q_UNUSED(aborted)
        }
    }
    AbortForm->hide();
    printStarted_ = true;
    accept();
}

void TPrintPreviwForm::deletePageFiles()
{
    const int count = plot_->pageCount();
    if (count <= 0)
        return;
    AbortForm->setWindowTitle(u"テンポラリファイルの削除"_s);
    AbortForm->Label1->setText(u"終了しています..."_s);
    AbortForm->PrAbortButton->setEnabled(false);
    AbortForm->ProgressBar1->setRange(0, count);
    AbortForm->ProgressBar1->setValue(0);
    AbortForm->show();
    for (int n = 1; n <= count; ++n) {
        QFile::remove(plot_->pageFile(n));
        QApplication::processEvents();
        AbortForm->ProgressBar1->setValue(n);
    }
    AbortForm->hide();
}
