#pragma once

#include "print/PrintProgress.h"

#include <QDialog>

class QLabel;
class QProgressBar;

// The small "処理中..." window shown while print data is generated. It only
// repaints: generation processes no user input, so there is nothing to
// cancel.
class TProgressForm : public QDialog, public PrintProgress {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TProgressForm)
public:
    // Centred on parent (the main window) when it is shown.
    explicit TProgressForm(QWidget *parent = nullptr);

    void SetText(const QString &text);
    void SetMax(int n);
    void SetPosition(int n);

    // PrintProgress
    void begin(const QString &caption, const QString &text) override;
    void setMax(int max) override { SetMax(max); }
    void setPosition(int position) override { SetPosition(position); }
    void end() override;

    QLabel *Label1;
    QProgressBar *ProgressBar1;

private:
    int shownPermille_ = -1;
};
