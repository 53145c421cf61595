#include "platform/TextList.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestTextList : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void splitLines_data();
    void splitLines();
    void writeUsesCrLfAndCp932();
    void writeRefusesUnmappable();
};

void TestTextList::splitLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("crlf") << u"a\r\nb\r\n"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("lf") << u"a\nb"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("cr") << u"a\rb\r"_qs << QStringList{u"a"_qs, u"b"_qs};
    QTest::newRow("mixed with empty lines")
        << u"a\r\n\nb\r\r\n"_qs << QStringList{u"a"_qs, QString(), u"b"_qs, QString()};
    QTest::newRow("empty") << QString() << QStringList{};
}

void TestTextList::splitLines()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(TextList::splitLines(text), lines);
}

void TestTextList::writeUsesCrLfAndCp932()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"担当者"_qs);
    QVERIFY(TextList::write(path, {u"山田"_qs, u"ｻﾄｳ"_qs}));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("\x8e\x52\x93\x63\r\n\xbb\xc4\xb3\r\n"));
    bool ok = false;
    QCOMPARE(TextList::read(path, &ok), (QStringList{u"山田"_qs, u"ｻﾄｳ"_qs}));
    QVERIFY(ok);
    TextList::read(dir.filePath(u"missing"_qs), &ok);
    QVERIFY(!ok);
}

void TestTextList::writeRefusesUnmappable()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"list"_qs);
    QVERIFY(TextList::write(path, {u"old"_qs}));
    QString error;
    QVERIFY(!TextList::write(path, {u"한글"_qs}, &error));
    QVERIFY(error.contains(u"한"_qs));
    QCOMPARE(TextList::read(path), QStringList{u"old"_qs});
}

QTEST_GUILESS_MAIN(TestTextList)
#include "tst_textlist.moc"
