#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

// "状況" while pages are printed (and, reused, while the page files are
// deleted). The button only sets the cancel flag; the print loop acts on it
// before the next page.
class TPreviewAbortForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TPreviewAbortForm)
public:
    explicit TPreviewAbortForm(QWidget *parent = nullptr);

    bool cancelled() const { return cancelled_; }
    void clearCancel() { cancelled_ = false; }
    // Stay on top while printing; normal while "中止しますか？" is asked.
    void setOnTop(bool on);

    QLabel *Label1;
    QProgressBar *ProgressBar1;
    QPushButton *PrAbortButton;

protected:
    void reject() override;

private:
    bool cancelled_ = false;
};
