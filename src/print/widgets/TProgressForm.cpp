#include "TProgressForm.h"

#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TProgressForm::TProgressForm(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      Label1(new QLabel(this)), ProgressBar1(new QProgressBar(this))
{
    setWindowTitle(u"処理中..."_s);
    setModal(false);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    setMinimumWidth(320);
}

void TProgressForm::SetText(const QString &text)
{
    Label1->setText(text);
    if (isVisible())
        Label1->repaint();
}

void TProgressForm::SetMax(int n)
{
    ProgressBar1->setRange(0, qMax(n, 1));
    shownPermille_ = -1;
}

void TProgressForm::SetPosition(int n)
{
    ProgressBar1->setValue(qBound(ProgressBar1->minimum(), n, ProgressBar1->maximum()));
    // Repainting after every section of a long run would cost more than the
    // run itself: repaint when the bar has visibly moved.
    const int permille = int(qint64(ProgressBar1->value()) * 1000 / qMax(ProgressBar1->maximum(), 1));
    if (isVisible() && permille / 5 != shownPermille_ / 5) {
        shownPermille_ = permille;
        ProgressBar1->repaint();
    }
}

void TProgressForm::begin(const QString &caption, const QString &text)
{
    setWindowTitle(caption);
    Label1->setText(text);
    adjustSize();
    if (QWidget *p = parentWidget())
        move(p->frameGeometry().center() - rect().center());
    show();
    repaint();
}

void TProgressForm::end()
{
    hide();
}
