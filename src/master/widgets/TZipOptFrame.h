#pragma once

#include <QWidget>

#include <functional>

class MessageService;
class QListWidget;
class QPushButton;

// The options page "有効な郵便番号辞書": the active postal-code dictionaries
// in search order. Adding copies a file into Dat/Mst/Zip/; deleting removes
// it from there. Every change is written to ziplist at once.
class TZipOptFrame : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TZipOptFrame)
public:
    // Lists the dictionaries of ziplist that exist (the others are dropped
    // from ziplist by the next change). messages must outlive the page.
    TZipOptFrame(const QString &appDir, MessageService &messages, QWidget *parent = nullptr);

    // Asks for the file to add; an empty path cancels. An open-file dialog
    // by default.
    void setFileChooser(std::function<QString()> choose) { chooseFile_ = std::move(choose); }

    // 辞書追加: copies the chosen file in (an existing file of that name
    // stays) and lists it.
    void Button1Click();
    // 辞書削除: after asking, deletes the selected dictionary's file.
    void Button2Click();

    QListWidget *ListBox1 = nullptr;
    QPushButton *Button1 = nullptr;
    QPushButton *Button2 = nullptr;

private:
    QStringList names() const;
    void writeList();

    QString appDir_;
    MessageService &messages_;
    std::function<QString()> chooseFile_;
};
