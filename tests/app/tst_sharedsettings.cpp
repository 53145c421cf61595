// The settings file is shared by every running process: real processes
// write it at once and nothing may get lost or handed out twice.
#include "app/AppSettings.h"
#include "platform/IniFile.h"

#include <QFile>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <vector>

using namespace Qt::StringLiterals;

class TestSharedSettings : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyProcessKeepsItsLastValue();
    void slipNumbersAreNeverHandedOutTwice();

private:
    static constexpr int Processes = 8;
    using Peers = std::vector<std::unique_ptr<QProcess>>;
    // Starts one peer for each argument list at once and waits for all of
    // them; false (with their complaints in *why) when one failed.
    static bool runPeers(const QList<QStringList> &arguments, Peers *peers, QByteArray *why);
};

bool TestSharedSettings::runPeers(const QList<QStringList> &arguments, Peers *peers, QByteArray *why)
{
    for (const QStringList &a : arguments) {
        auto p = std::make_unique<QProcess>();
        p->start(QStringLiteral(SETTINGS_PEER_BINARY), a);
        peers->push_back(std::move(p));
    }
    bool ok = true;
    for (const auto &p : *peers) {
        if (!p->waitForFinished(120000) || p->exitStatus() != QProcess::NormalExit || p->exitCode() != 0) {
            *why += p->readAllStandardError() + ' ';
            ok = false;
        }
    }
    return ok;
}

void TestSharedSettings::everyProcessKeepsItsLastValue()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"torvane.ini"_s);
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("[Init]\r\nDir=C:\\work\r\n[Slip]\r\nNo=12\r\n");
    }
    QList<QStringList> arguments;
    for (int i = 0; i < Processes; ++i)
        arguments.append({u"key"_s, path, u"P%1"_s.arg(i), u"100"_s});
    Peers peers;
    QByteArray why;
    QVERIFY2(runPeers(arguments, &peers, &why), why.constData());

    const IniFile ini(path);
    for (int i = 0; i < Processes; ++i)
        QCOMPARE(ini.readInteger(u"Peers"_s, u"P%1"_s.arg(i), -1), 100);
    QCOMPARE(ini.readString(u"Init"_s, u"Dir"_s), u"C:\\work"_s);
    QCOMPARE(ini.readInteger(u"Slip"_s, u"No"_s, -1), 12);
    QCOMPARE(ini.keyLineCount(u"Peers"_s), Processes);
    QVERIFY(!QFile::exists(IniFile::lockPathFor(path)));
}

void TestSharedSettings::slipNumbersAreNeverHandedOutTwice()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"torvane.ini"_s);
    QList<QStringList> arguments;
    for (int i = 0; i < Processes; ++i)
        arguments.append({u"number"_s, path, u"50"_s});
    Peers peers;
    QByteArray why;
    QVERIFY2(runPeers(arguments, &peers, &why), why.constData());

    QSet<int> numbers;
    int count = 0;
    for (const auto &p : peers) {
        for (const QByteArray &line : p->readAllStandardOutput().split('\n')) {
            if (line.isEmpty())
                continue;
            numbers.insert(line.toInt());
            ++count;
        }
    }
    QCOMPARE(count, Processes * 50);
    QCOMPARE(numbers.size(), Processes * 50);
    // A fresh settings file starts at the first slip number.
    QCOMPARE(IniFile(path).readInteger(u"Slip"_s, u"No"_s, -1),
             AppSettings::FirstSlipNumber + Processes * 50);
}

QTEST_GUILESS_MAIN(TestSharedSettings)
#include "tst_sharedsettings.moc"
