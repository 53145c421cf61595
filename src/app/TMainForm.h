#pragma once

#include <QMainWindow>

// The main window: one slip per process.
class TMainForm : public QMainWindow {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMainForm)
public:
    explicit TMainForm(const QString &appDir, QWidget *parent = nullptr);

private:
    QString appDir_;
};
