#pragma once

#include "master/MemoOptions.h"

#include <QWidget>

class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class TMemoGrid;

// The options page "挨拶文・備考欄": the greetings per slip kind and the note
// templates. It edits in memory; SaveMemoOptions writes the memo file.
class TMemoOptFrame : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TMemoOptFrame)
public:
    // Loads memoFile.
    explicit TMemoOptFrame(const QString &memoFile, QWidget *parent = nullptr);

    // What the page shows now.
    MemoOptions options() const;
    // Replaces the memo file with the page's content.
    bool SaveMemoOptions(QString *error = nullptr);

    // 追加: a new row of the memo's first three lines.
    void Button1Click();
    // 削除: drops the current row.
    void Button2Click();
    // 修正: the current row takes the memo's lines.
    void Button3Click();

    QTableWidget *StringGrid1 = nullptr; // greetings
    TMemoGrid *StringGrid2 = nullptr;    // note templates
    QPlainTextEdit *Memo1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;
    QPushButton *Button3 = nullptr;

protected:
    void resizeEvent(QResizeEvent *e) override;

private:
    MemoOptions::Note memoNote() const;
    void showRowInMemo(int row);

    QString memoFile_;
};
