#include "SlipSection.h"

#include "slip/SlipData.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int TitleHeight = 32;

// The rounded frame behind the status text, light blue while the section is
// open and white while it is closed. Painted, not styled: a style sheet
// re-polishes the frame and its label on every change of state, and a slip
// load changes all seven.
class StatusFrame : public QFrame {
public:
    explicit StatusFrame(QWidget *parent) : QFrame(parent) {}

    void setOpenLook(bool open)
    {
        if (open == open_)
            return;
        open_ = open;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QColor(160, 160, 160));
        p.setBrush(open_ ? QColor(191, 217, 244) : QColor(Qt::white));
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
    }

private:
    bool open_ = false;
};

} // namespace

QColor windowsColor(qint32 value)
{
    if ((quint32(value) & 0xFF000000u) != 0)
        return QApplication::palette().color(QPalette::ButtonText);
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

SlipSection::SlipSection(int number, const QString &caption, QWidget *parent)
    : QFrame(parent), number_(number), statusColor_(SlipData::SystemButtonTextColor)
{
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    auto *title = new QWidget(this);
    title->setFixedHeight(TitleHeight);
    auto *titleLayout = new QHBoxLayout(title);
    titleLayout->setContentsMargins(4, 3, 4, 3);
    button_ = new QToolButton(title);
    button_->setText(caption);
    button_->setCheckable(true);
    button_->setAutoRaise(false);
    button_->setMinimumWidth(190);
    button_->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QFont captionFont = button_->font();
    captionFont.setPointSizeF(captionFont.pointSizeF() + 2);
    captionFont.setBold(true);
    button_->setFont(captionFont);
    titleLayout->addWidget(button_);

    statusFrame_ = new StatusFrame(title);
    statusFrame_->setObjectName(QStringLiteral("statusFrame"));
    auto *statusLayout = new QHBoxLayout(statusFrame_);
    statusLayout->setContentsMargins(10, 0, 10, 0);
    status_ = new QLabel(QStringLiteral("未設定"), statusFrame_);
    statusLayout->addWidget(status_);
    titleLayout->addWidget(statusFrame_, 1);
    outer->addWidget(title);

    inner_ = new QWidget(this);
    innerLayout_ = new QVBoxLayout(inner_);
    innerLayout_->setContentsMargins(12, 2, 8, 4);
    outer->addWidget(inner_);

    connect(button_, &QToolButton::clicked, this, &SlipSection::toggleRequested);
    setFrameShape(QFrame::NoFrame);
    setOpen(false);
    setStatus(QStringLiteral("未設定"), SlipData::SystemButtonTextColor);
}

void SlipSection::setOpen(bool open)
{
    open_ = open;
    button_->setChecked(open);
    inner_->setVisible(open);
    inner_->setEnabled(open);
    applyFrameColour();
}

QString SlipSection::statusText() const
{
    return status_->text();
}

void SlipSection::setStatus(const QString &text, qint32 color)
{
    statusColor_ = color;
    status_->setText(text);
    QPalette p = status_->palette();
    p.setColor(QPalette::WindowText, windowsColor(color));
    status_->setPalette(p);
}

void SlipSection::applyFrameColour()
{
    static_cast<StatusFrame *>(statusFrame_)->setOpenLook(open_);
}
