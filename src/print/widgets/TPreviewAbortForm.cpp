#include "TPreviewAbortForm.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TPreviewAbortForm::TPreviewAbortForm(QWidget *parent) : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint)
{
    setWindowTitle(u"状況"_s);
    auto *layout = new QVBoxLayout(this);
    Label1 = new QLabel(u"印刷中です..."_s, this);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setTextVisible(false);
    PrAbortButton = new QPushButton(u"中止"_s, this);
    PrAbortButton->setDefault(true);
    layout->addWidget(Label1);
    layout->addWidget(ProgressBar1);
    layout->addWidget(PrAbortButton, 0, Qt::AlignHCenter);
    connect(PrAbortButton, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    setMinimumWidth(300);
}

void TPreviewAbortForm::setOnTop(bool on)
{
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (isHidden())
        return;
    show();
}

// Esc and the close box ask for a cancel like the button; the dialog stays
// until the loop has acted on it.
void TPreviewAbortForm::reject()
{
    cancelled_ = true;
}
