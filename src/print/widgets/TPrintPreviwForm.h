#pragma once

#include "print/TPrnPlotY.h"

#include <QDialog>
#include <QPicture>

#include <memory>

class MessageService;
class PrinterService;
class QLabel;
class QLineEdit;
class QScrollArea;
class QStatusBar;
class QToolButton;
class TPreviewAbortForm;

// The sheet in the preview: white paper, the page picture stretched over it
// and the dotted outline of the printable area.
class PreviewSheet : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(PreviewSheet)
public:
    explicit PreviewSheet(QWidget *parent = nullptr);
    void setPage(const QPicture *page, QSize pageSize);
    // The printable area in the sheet's own coordinates.
    void setPrintableRect(const QRect &rect);
    QRect printableRect() const { return printable_; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const QPicture *page_ = nullptr;
    QSize pageSize_;
    QRect printable_;
};

// "印刷プレビュー": shows the page files of one run and prints them as one
// job. It owns the plotter that draws the pages; destroying it deletes the
// page files.
class TPrintPreviwForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPrintPreviwForm)
public:
    TPrintPreviwForm(PrinterService &printers, MessageService &messages, QWidget *parent = nullptr);
    ~TPrintPreviwForm() override;

    TPrnPlotY &plot() { return *plot_; }

    // Page count and aspect ratio from the plotter, page 1, fit width.
    void prepare();
    // Preview asks "印刷しますか？" before printing; printing at once does not.
    void setAskBeforePrinting(bool on) { ask_ = on; }
    // Prints every page at once without asking.
    void PrintAll();
    void PrintPages();
    bool printStarted() const { return printStarted_; }

    int currentPage() const { return current_; }
    int pageCount() const { return count_; }
    void showPage(int page);
    // Fit width ("拡大") and whole page ("縮小").
    void fitWidth();
    void wholePage();

    QToolButton *PrintSpButton;
    QToolButton *MinusSpButton;
    QToolButton *PlusSpbutton;
    QToolButton *PrevSpeedButton;
    QLineEdit *PageCountPanel;
    QToolButton *NextSpeedButton;
    QToolButton *CloaseSpButton;
    QScrollArea *ScreenScBox;
    PreviewSheet *PreviewImage;
    QWidget *Panel1;
    QStatusBar *StatusBar1;
    TPreviewAbortForm *AbortForm;

protected:
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void nextPage();
    void prevPage();
    void placeSheet(const QRect &sheet, int spacerTop);
    void fillStatusBar();
    void scrollByWheel(QWheelEvent *event);
    void deletePageFiles();

    PrinterService &printers_;
    MessageService &messages_;
    std::unique_ptr<TPrnPlotY> plot_;
    QPicture page_;
    int current_ = 0;
    int count_ = 0;
    double aspect_ = 1.0;
    bool ask_ = true;
    bool printStarted_ = false;
    bool prepared_ = false;
};
