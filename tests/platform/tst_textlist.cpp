#include "platform/TextList.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

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
    QTest::newRow("crlf") << u"a\r\nb\r\n"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("lf") << u"a\nb"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("cr") << u"a\rb\r"_s << QStringList{u"a"_s, u"b"_s};
    QTest::newRow("mixed with empty lines")
        << u"a\r\n\nb\r\r\n"_s << QStringList{u"a"_s, QString(), u"b"_s, QString()};
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
    const QString path = dir.filePath(u"担当者"_s);
    QVERIFY(TextList::write(path, {u"山田"_s, u"ｻﾄｳ"_s}));
    QFile f(path);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("\x8e\x52\x93\x63\r\n\xbb\xc4\xb3\r\n"));
    bool ok = false;
    QCOMPARE(TextList::read(path, &ok), (QStringList{u"山田"_s, u"ｻﾄｳ"_s}));
    QVERIFY(ok);
    TextList::read(dir.filePath(u"missing"_s), &ok);
    QVERIFY(!ok);
}

void TestTextList::writeRefusesUnmappable()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"list"_s);
    QVERIFY(TextList::write(path, {u"old"_s}));
    QString error;
    QVERIFY(!TextList::write(path, {u"한글"_s}, &error));
    QVERIFY(error.contains(u"한"_s));
    QCOMPARE(TextList::read(path), QStringList{u"old"_s});
}

QTEST_GUILESS_MAIN(TestTextList)
#include "tst_textlist.moc"
