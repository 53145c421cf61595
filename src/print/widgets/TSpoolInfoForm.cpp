#include "TSpoolInfoForm.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TSpoolInfoForm::TSpoolInfoForm(QWidget *parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint)
{
    setWindowTitle(u"状況"_s);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(u"印刷イメージを作成しています..."_s, this));
    auto *counter = new QHBoxLayout;
    PageLabel = new QLabel(u"001"_s, this);
    counter->addStretch();
    counter->addWidget(PageLabel);
    counter->addWidget(new QLabel(u"ページ"_s, this));
    counter->addStretch();
    layout->addLayout(counter);
    PrAbortButton = new QPushButton(u"中止"_s, this);
    PrAbortButton->setDefault(true);
    layout->addWidget(PrAbortButton, 0, Qt::AlignHCenter);
    connect(PrAbortButton, &QPushButton::clicked, this, &QDialog::reject);
}

void TSpoolInfoForm::ShowPage(int page)
{
    PageLabel->setText(QString::asprintf("%.3d", page));
}

void TSpoolInfoForm::done(int result)
{
    cancelled_ = true;
    QDialog::done(result);
}
