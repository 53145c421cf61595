#pragma once

#include <QFrame>

class QLabel;
class QToolButton;
class QVBoxLayout;

// One collapsible section of the slip header editor: a sticky toggle button
// with the section's caption, the completion status in a rounded frame, and
// the inner panel with the section's controls. Closed, only the title row
// shows and the inner panel is disabled.
class SlipSection : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SlipSection)
public:
    SlipSection(int number, const QString &caption, QWidget *parent = nullptr);

    int number() const { return number_; }
    QToolButton *button() const { return button_; }
    QLabel *statusLabel() const { return status_; }
    QWidget *inner() const { return inner_; }
    QVBoxLayout *innerLayout() const { return innerLayout_; }

    bool isOpen() const { return open_; }
    void setOpen(bool open);

    QString statusText() const;
    qint32 statusColor() const { return statusColor_; }
    // colour: a Windows colour value (0x00BBGGRR, or a system colour with high byte 0xFF).
    void setStatus(const QString &text, qint32 color);

    // The control that takes the focus when the section opens.
    QWidget *firstFocus = nullptr;

Q_SIGNALS:
    // The user clicked the button or pressed its accelerator.
    void toggleRequested();

private:
    void applyFrameColour();

    int number_;
    bool open_ = false;
    qint32 statusColor_;
    QToolButton *button_;
    QFrame *statusFrame_;
    QLabel *status_;
    QWidget *inner_;
    QVBoxLayout *innerLayout_;
};

// A Windows colour value as a colour; system colours map to the palette's button text.
QColor windowsColor(qint32 value);
