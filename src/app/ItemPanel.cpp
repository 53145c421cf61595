#include "ItemPanel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QToolButton *titleButton(QWidget *parent, const QString &name, const QString &text, const QString &hint)
{
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setText(text);
    b->setToolTip(hint);
    b->setStatusTip(hint);
    b->setAutoRaise(true);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}

} // namespace

ItemPanel::ItemPanel(QWidget *parent) : QFrame(parent)
{
    setObjectName(u"ItemPanel"_s);
    setMinimumWidth(DefaultWidth);
    setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    layout->setSpacing(2);

    auto *title = new QWidget(this);
    title->setAutoFillBackground(true);
    QPalette p = title->palette();
    p.setColor(QPalette::Window, p.color(QPalette::Highlight));
    p.setColor(QPalette::WindowText, p.color(QPalette::HighlightedText));
    title->setPalette(p);
    auto *titleLayout = new QHBoxLayout(title);
    titleLayout->setContentsMargins(4, 1, 1, 1);
    titleLayout->addWidget(new QLabel(u"検索ウィンドウ"_s, title), 1);
    SpeedButton2 = titleButton(title, u"SpeedButton2"_s, u"◀"_s, u"検索ウィンドウを左に配置"_s);
    SpeedButton3 = titleButton(title, u"SpeedButton3"_s, u"▶"_s, u"検索ウィンドウを右に配置"_s);
    SpeedButton1 = titleButton(title, u"SpeedButton1"_s, u"×"_s, u"検索ウィンドウを閉じる"_s);
    titleLayout->addWidget(SpeedButton2);
    titleLayout->addWidget(SpeedButton3);
    titleLayout->addWidget(SpeedButton1);
    layout->addWidget(title);

    auto *content = new QFrame(this);
    content->setObjectName(u"SearchHost"_s);
    content->setFrameShape(QFrame::Panel);
    content->setFrameShadow(QFrame::Sunken);
    content_ = new QVBoxLayout(content);
    content_->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(content, 1);

    auto *buttons = new QHBoxLayout;
    EditButton = new QPushButton(u"編集(&T)"_s, this);
    EditButton->setObjectName(u"EditButton"_s);
    AddButton = new QPushButton(u"明細へ(&A)"_s, this);
    AddButton->setObjectName(u"AddButton"_s);
    buttons->addWidget(EditButton);
    buttons->addWidget(AddButton);
    layout->addLayout(buttons);
    setOnRight(false);
}

void ItemPanel::setOnRight(bool right)
{
    onRight_ = right;
    SpeedButton3->setVisible(!right);
    SpeedButton2->setVisible(right);
}
