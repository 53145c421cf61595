#include "TMainForm.h"

TMainForm::TMainForm(const QString &appDir, QWidget *parent) : QMainWindow(parent), appDir_(appDir)
{
    setWindowTitle(QStringLiteral("[新規] - Torvane"));
    setMinimumSize(640, 480);
    resize(1024, 720);
}
