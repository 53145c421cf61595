#pragma once

#include "platform/AppFolder.h"

#include <QWidget>

class MasterGrid;
class MessageService;
class QLabel;
class QPushButton;
class QTableWidgetItem;

// Shows and edits one master list at a time (担当者, 作業名: one column of
// names; 諸費用 and any other list: a name and an amount in whole yen). The
// list is saved when another list is shown and when the frame goes, so its
// hosts have no save step of their own: closing them with Cancel keeps the
// edits too.
class TMasterFrame : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMasterFrame)
public:
    // messages: save failures and refused list names; it must outlive the frame.
    TMasterFrame(const AppFolder &folder, MessageService &messages, QWidget *parent = nullptr);
    ~TMasterFrame() override;

    // Saves the list shown, then shows the list name. A name that cannot be
    // a file name is refused with a message and nothing changes.
    void ShowList(const QString &name);
    QString listName() const { return listName_; }
    // Writes the list shown; a failure is told to the user and gives false.
    bool saveList();

    // Read-only: whole rows selected, no editing, the commands disabled.
    void setReadOnly(bool on);
    // The texts of the current row, one per column.
    QStringList currentTexts() const;

    QLabel *Label1;          // the list name
    MasterGrid *StringGrid1; // the list
    QPushButton *Button4;    // 追加(&A)
    QPushButton *Button3;    // 選択削除&(D)
    QPushButton *Button1;    // 上へ(&U)
    QPushButton *Button2;    // 下へ(&D)

protected:
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void layoutColumns();
    void cellChanged(QTableWidgetItem *item);

    AppFolder folder_;
    MessageService &messages_;
    QString listName_;
    bool updating_ = false;
};
