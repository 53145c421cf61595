#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

// "状況": shown while the page files are drawn. Closing it by any means
// (its button, the close box, Esc) sets the cancel flag, which rendering
// checks after every script line.
class TSpoolInfoForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TSpoolInfoForm)
public:
    explicit TSpoolInfoForm(QWidget *parent = nullptr);

    void ShowPage(int page);
    bool cancelled() const { return cancelled_; }

    QLabel *PageLabel;
    QPushButton *PrAbortButton;

protected:
    void done(int result) override;

private:
    bool cancelled_ = false;
};
