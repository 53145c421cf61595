#include "master/MemoOptions.h"
#include "platform/TextList.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestMemoOptions : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void roundTrip_data();
    void roundTrip();
    void shortLinesAndMissingFile();
};

void TestMemoOptions::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("comma") << u"下記の通り、お見積り申し上げます。"_s;
    QTest::newRow("ascii comma and space") << u"Thank you, see you again"_s;
    QTest::newRow("quotes") << u"部品は\"純正\"を使用"_s;
    QTest::newRow("leading space") << u" 字下げ"_s;
    QTest::newRow("full-width spaces") << u"次回オイル交換目安：　　　　　km"_s;
}

void TestMemoOptions::roundTrip()
{
    QFETCH(QString, text);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"MemoOpt.Dat"_s);
    MemoOptions memo;
    memo.greetings = {text, QString(), u"毎度ありがとうございます。"_s};
    memo.notes = {{text, QString(), text}, {u"二件目"_s, text, QString()}};
    QVERIFY(memo.write(path));
    // Three greetings and two templates are exactly three lines.
    QCOMPARE(TextList::read(path).size(), 3);
    bool ok = false;
    const MemoOptions back = MemoOptions::read(path, &ok);
    QVERIFY(ok);
    QCOMPARE(back.greetings, memo.greetings);
    QCOMPARE(back.notes, memo.notes);
}

void TestMemoOptions::shortLinesAndMissingFile()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"MemoOpt.Dat"_s);
    QVERIFY(TextList::write(path, {u"見積のみ"_s, u"一行目"_s, u"a,b,c,d"_s}));
    const MemoOptions memo = MemoOptions::read(path);
    QCOMPARE(memo.greetings[0], u"見積のみ"_s);
    QVERIFY(memo.greetings[1].isEmpty());
    QCOMPARE(memo.notes.size(), 2);
    QCOMPARE(memo.notes[0], (MemoOptions::Note{u"一行目"_s, QString(), QString()}));
    QCOMPARE(memo.notes[1], (MemoOptions::Note{u"a"_s, u"b"_s, u"c"_s}));

    bool ok = true;
    const MemoOptions none = MemoOptions::read(dir.filePath(u"missing"_s), &ok);
    QVERIFY(!ok);
    QVERIFY(none.notes.isEmpty());
}

QTEST_GUILESS_MAIN(TestMemoOptions)
#include "tst_memooptions.moc"
