#pragma once

#include "platform/AppFolder.h"

#include <QDialog>

#include <optional>

class MessageService;
class QPushButton;
class TCarFrame;
class TMasterFrame;

// The dialog "選択" through which the slip header picks from the master
// data. The kind decides what it shows: 0 the car master, 1 the costs list
// (諸費用), 6 the persons in charge (担当者); any other kind an empty list
// frame. It opens read-only; "編集(&E)" lets the user edit the lists in
// place. The lists are saved when the dialog goes, OK or Cancel.
class TGuideForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TGuideForm)
public:
    enum Kind { CarNames = 0, Costs = 1, Staff = 6 };

    // messages: the frames' boxes; it must outlive the dialog.
    TGuideForm(const AppFolder &folder, MessageService &messages, int kind, QWidget *parent = nullptr);

    struct Pick {
        QString name;   // the car name (maker and car), the cost or the person
        QString amount; // the cost's amount; empty for the other kinds
    };
    // What the current rows hold now.
    Pick result() const;

    // Shows the dialog modally; the pick on OK.
    static std::optional<Pick> pick(const AppFolder &folder, MessageService &messages, int kind,
                                    QWidget *parent = nullptr);

    bool editing() const { return editing_; }
    // "編集(&E)" / "編集終了(&E)".
    void Button3Click();

    TCarFrame *CarFrame1 = nullptr;       // kind 0 only
    TMasterFrame *MasterFrame1 = nullptr; // every other kind
    QPushButton *Button2;                 // OK
    QPushButton *Button1;                 // キャンセル
    QPushButton *Button3;                 // 編集(&E)
    QPushButton *Button4;                 // ヘルプ(&H)

    void done(int result) override;

private:
    void setEditing(bool on);

    bool editing_ = false;
};
