#pragma once

#include "platform/AppFolder.h"

#include <QWidget>

class MasterGrid;
class MessageService;
class QLabel;
class QPushButton;
class QTableWidgetItem;

// The car master: makers in the upper grid, the car names of the maker in
// the current row in the lower one. The car names shown are saved under the
// maker's name when another maker row becomes current; the maker list and
// the car names shown are saved when the frame goes, so its hosts have no
// save step of their own.
class TCarFrame : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TCarFrame)
public:
    // messages: the delete question, refused maker names and save failures;
    // it must outlive the frame.
    TCarFrame(const AppFolder &folder, MessageService &messages, QWidget *parent = nullptr);
    ~TCarFrame() override;

    // The maker and the car name of the current rows.
    QString makerName() const;
    QString carName() const;

    // Read-only: whole rows selected, no editing, the commands disabled.
    void setReadOnly(bool on);
    // Writes the maker list and the car names shown.
    void saveAll();

    // The commands of the buttons.
    void addMaker();
    void deleteMaker();
    void sortMakers();
    void addCarName();
    void deleteCarName();
    void sortCarNames();

    QLabel *Label1;          // メーカー
    MasterGrid *StringGrid1; // makers
    QPushButton *Button1;    // メーカー追加(&M)
    QPushButton *Button2;    // 選択削除(&D)
    QPushButton *Button5;    // ソート(&S)
    QLabel *Label2;          // 車種名
    MasterGrid *StringGrid2; // car names
    QPushButton *Button4;    // 車種追加(&C)
    QPushButton *Button3;    // 選択削除(&L)
    QPushButton *Button6;    // ソート(&O)

private:
    void makerRowChanged(int row, int previous);
    void makerEdited(QTableWidgetItem *item);
    void loadCarNames(const QString &maker);
    void saveCarNames(const QString &maker);
    void showMakers(const QStringList &makers);
    void report(const QString &error);

    AppFolder folder_;
    MessageService &messages_;
    // While set, a change of maker row neither saves nor loads car names.
    bool loading_ = false;
};
