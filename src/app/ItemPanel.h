#pragma once

#include <QFrame>

class QPushButton;
class QToolButton;
class QVBoxLayout;

// The side panel that holds the item search window, with its title bar
// buttons (close, move right, move left) and the buttons under it.
class ItemPanel : public QFrame {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ItemPanel)
public:
    static constexpr int DefaultWidth = 180;

    explicit ItemPanel(QWidget *parent = nullptr);

    QToolButton *closeButton() const { return SpeedButton1; }
    QToolButton *rightButton() const { return SpeedButton3; }
    QToolButton *leftButton() const { return SpeedButton2; }
    QPushButton *editButton() const { return EditButton; }
    QPushButton *addButton() const { return AddButton; }
    // Where the search window goes.
    QVBoxLayout *contentLayout() const { return content_; }

    bool onRight() const { return onRight_; }
    void setOnRight(bool right);

private:
    QToolButton *SpeedButton1;
    QToolButton *SpeedButton3;
    QToolButton *SpeedButton2;
    QPushButton *EditButton;
    QPushButton *AddButton;
    QVBoxLayout *content_;
    bool onRight_ = false;
};
