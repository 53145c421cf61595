#pragma once

#include "master/MemoOptions.h"

#include <QDialog>

class QPushButton;
class TMemoGrid;

// "備考欄テンプレート選択": picks one of the note templates for the slip's
// three-line note field. It never writes the memo file.
class TMemoSelForm : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMemoSelForm)
public:
    // memoFile: the memo file to list.
    explicit TMemoSelForm(const QString &memoFile, QWidget *parent = nullptr);

    // The three lines of the current row.
    MemoOptions::Note note() const;

    TMemoGrid *StringGrid2 = nullptr;
    QPushButton *Button1 = nullptr; // キャンセル
    QPushButton *Button2 = nullptr; // OK
    QPushButton *Button4 = nullptr; // ヘルプ
};
