#include "TMemoOptFrame.h"

#include "TMemoGrid.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

TMemoOptFrame::TMemoOptFrame(const QString &memoFile, QWidget *parent) : QWidget(parent), memoFile_(memoFile)
{
    setObjectName(u"MemoOptFrame"_s);

    StringGrid1 = new QTableWidget(MemoOptions::GreetingCount, 2, this);
    StringGrid1->setObjectName(u"StringGrid1"_s);
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setEditTriggers(QAbstractItemView::AllEditTriggers);
    StringGrid1->setColumnWidth(0, 80);
    const QString kinds[] = {u"見積書"_s, u"作業指示書"_s, u"納品書"_s};
    for (int r = 0; r < MemoOptions::GreetingCount; ++r) {
        auto *title = new QTableWidgetItem(kinds[r]);
        title->setFlags(Qt::ItemIsEnabled);
        title->setBackground(palette().button());
        StringGrid1->setItem(r, 0, title);
        StringGrid1->setItem(r, 1, new QTableWidgetItem);
    }
    StringGrid1->setFixedHeight(StringGrid1->rowHeight(0) * MemoOptions::GreetingCount + 4);
    auto *greetLabel = new QLabel(u"挨拶文(&T)"_s, this);
    greetLabel->setBuddy(StringGrid1);

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(u"Memo1"_s);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setFixedHeight(Memo1->fontMetrics().lineSpacing() * 3 + 14);
    auto *memoLabel = new QLabel(u"備考欄テンプレート(&M)"_s, this);
    memoLabel->setBuddy(Memo1);

    StringGrid2 = new TMemoGrid(this);
    StringGrid2->setObjectName(u"StringGrid2"_s);
    StringGrid2->showFirstColumnOnly();

    Button1 = new QPushButton(u"追加(&A)"_s, this);
    Button1->setObjectName(u"Button1"_s);
    Button2 = new QPushButton(u"削除(&D)"_s, this);
    Button2->setObjectName(u"Button2"_s);
    Button3 = new QPushButton(u"修正(&R)"_s, this);
    Button3->setObjectName(u"Button3"_s);
    connect(Button1, &QPushButton::clicked, this, &TMemoOptFrame::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TMemoOptFrame::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TMemoOptFrame::Button3Click);
    connect(StringGrid2, &QTableWidget::currentCellChanged, this, [this](int row) { showRowInMemo(row); });

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(Button1);
    buttonRow->addWidget(Button2);
    buttonRow->addWidget(Button3);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(greetLabel);
    layout->addWidget(StringGrid1);
    layout->addWidget(memoLabel);
    layout->addWidget(Memo1);
    layout->addLayout(buttonRow);
    layout->addWidget(StringGrid2, 1);

    const MemoOptions memo = MemoOptions::read(memoFile_);
    for (int r = 0; r < MemoOptions::GreetingCount; ++r)
        StringGrid1->item(r, 1)->setText(memo.greetings[r]);
    StringGrid2->setNotes(memo.notes);
}

MemoOptions TMemoOptFrame::options() const
{
    MemoOptions memo;
    for (int r = 0; r < MemoOptions::GreetingCount; ++r)
        memo.greetings[r] = StringGrid1->item(r, 1)->text();
    memo.notes = StringGrid2->notes();
    return memo;
}

bool TMemoOptFrame::SaveMemoOptions(QString *error)
{
    return options().write(memoFile_, error);
}

MemoOptions::Note TMemoOptFrame::memoNote() const
{
    const QStringList lines = Memo1->toPlainText().split(u'\n');
    MemoOptions::Note note;
    for (int i = 0; i < MemoOptions::NoteLines && i < lines.size(); ++i)
        note[i] = lines.at(i);
    return note;
}

void TMemoOptFrame::showRowInMemo(int row)
{
    if (row < 0 || row >= StringGrid2->rowCount())
        return;
    const MemoOptions::Note note = StringGrid2->note(row);
    if (memoNote() == note)
        return;
    Memo1->setPlainText(QStringList(note.begin(), note.end()).join(u'\n'));
}

void TMemoOptFrame::Button1Click()
{
    StringGrid2->appendNote(memoNote());
}

void TMemoOptFrame::Button2Click()
{
    const int row = StringGrid2->currentRow();
    if (row < 0)
        return;
    StringGrid2->removeRow(row);
}

void TMemoOptFrame::Button3Click()
{
    const int row = StringGrid2->currentRow();
    if (row >= 0)
        StringGrid2->setNote(row, memoNote());
}

void TMemoOptFrame::resizeEvent(QResizeEvent *e)
{
    QWidget::resizeEvent(e);
    // The greeting column takes the rest of its grid.
    StringGrid1->setColumnWidth(1, StringGrid1->width() - StringGrid1->columnWidth(0) - 5);
}
