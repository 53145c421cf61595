// The postal-code search over a national-size dictionary (about 124,000
// lines, 11.5 MB in CP932), for "100" and "中央": the search unit in this
// process and `torvane --zip-search` as a whole process, each against
// `LC_ALL=C grep -c` over the same file in the same run (median of runs,
// milliseconds, and the ratio). Also the largest resident size of the
// command-line search over the file and over a file twice its size.
//   build/bin/bench_zipsearch [DICTIONARY.CSV]
// Without a file one with realistic addresses is generated into a temporary
// folder.
#include "master/ZipSearch.h"
#include "platform/Cp932.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <spawn.h>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

using namespace Qt::StringLiterals;

extern char **environ;

namespace {

constexpr int Runs = 9;

const QStringList Prefectures = {
    u"北海道"_s, u"青森県"_s, u"岩手県"_s, u"宮城県"_s, u"秋田県"_s, u"山形県"_s,   u"福島県"_s, u"茨城県"_s,
    u"栃木県"_s, u"群馬県"_s, u"埼玉県"_s, u"千葉県"_s, u"東京都"_s, u"神奈川県"_s, u"新潟県"_s, u"富山県"_s,
    u"石川県"_s, u"福井県"_s, u"山梨県"_s, u"長野県"_s, u"岐阜県"_s, u"静岡県"_s,   u"愛知県"_s, u"三重県"_s,
    u"滋賀県"_s, u"京都府"_s, u"大阪府"_s, u"兵庫県"_s, u"奈良県"_s, u"和歌山県"_s, u"鳥取県"_s, u"島根県"_s,
    u"岡山県"_s, u"広島県"_s, u"山口県"_s, u"徳島県"_s, u"香川県"_s, u"愛媛県"_s,   u"高知県"_s, u"福岡県"_s,
    u"佐賀県"_s, u"長崎県"_s, u"熊本県"_s, u"大分県"_s, u"宮崎県"_s, u"鹿児島県"_s, u"沖縄県"_s};
const QStringList Cities = {u"中央区"_s, u"北区"_s,   u"南区"_s,   u"西区"_s,     u"東区"_s,   u"港区"_s,
                            u"緑区"_s,   u"青葉区"_s, u"市原市"_s, u"富士見市"_s, u"桜川市"_s, u"大和町"_s,
                            u"美里町"_s, u"高山市"_s, u"松川村"_s, u"中央市"_s,   u"旭市"_s,   u"白石区"_s,
                            u"豊平区"_s, u"清田区"_s, u"手稲区"_s, u"山田町"_s,   u"川口市"_s, u"相生市"_s,
                            u"本庄市"_s, u"吉田町"_s, u"森町"_s,   u"大野市"_s,   u"石狩市"_s, u"新見市"_s};
const QStringList Towns = {u"本町"_s,   u"栄町"_s,   u"緑町"_s,   u"旭町"_s,   u"中央"_s,   u"東町"_s,
                           u"西町"_s,   u"南町"_s,   u"北町"_s,   u"新町"_s,   u"大通"_s,   u"桜木町"_s,
                           u"若葉"_s,   u"松原"_s,   u"宮前"_s,   u"青葉台"_s, u"富士見"_s, u"日の出町"_s,
                           u"港町"_s,   u"錦町"_s,   u"千代田"_s, u"昭和町"_s, u"平和"_s,   u"山手"_s,
                           u"高砂"_s,   u"朝日町"_s, u"幸町"_s,   u"末広町"_s, u"寿町"_s,   u"元町"_s,
                           u"住吉町"_s, u"春日"_s,   u"八幡町"_s, u"天神"_s,   u"稲荷町"_s, u"美園"_s,
                           u"泉町"_s,   u"柳町"_s,   u"梅ケ丘"_s, u"花園"_s,   u"白山"_s,   u"長尾"_s};

// One dictionary line in the national layout.
QString line(int code, const QString &pref, const QString &city, const QString &town)
{
    const QString c = u"%1"_s.arg(code, 7, 10, QChar(u'0'));
    return u"%1,\"%2  \",\"%3\",\"ｿﾉﾀ\",\"ｼﾁｮｳｿﾝ\",\"ﾁｮｳｲｷﾒｲｶﾅ\",\"%4\",\"%5\",\"%6\",0,0,1,0,0,0\r\n"_s
        .arg(QString::number(1100 + code % 45000), c.left(3), c, pref, city, town);
}

// lines lines of plausible addresses with the national file's notes.
QString generate(const QString &path, int lines)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return {};
    QString chunk;
    for (int i = 0; i < lines; ++i) {
        const int code = int((qint64(i) * 9999999) / lines);
        const QString &pref = Prefectures.at((i / 2700) % Prefectures.size());
        const QString city = (i / 90) % 7 == 0 ? QString(u"札幌市"_s + Cities.at((i / 90) % Cities.size()))
                                               : Cities.at((i / 90) % Cities.size());
        QString town;
        if (i % 90 == 0)
            town = u"以下に掲載がない場合"_s;
        else if (i % 37 == 0)
            town = Towns.at(i % Towns.size()) + u"（次のビルを除く）"_s;
        else if (i % 11 == 0)
            town = Towns.at(i % Towns.size()) + u"（１～%1丁目）"_s.arg(i % 9 + 2);
        else
            town = Towns.at(i % Towns.size()) + (i % 3 == 0 ? u"%1丁目"_s.arg(i % 5 + 1) : QString());
        chunk += line(code, pref, city, town);
        if (chunk.size() > 1 << 20) {
            f.write(Cp932::encode(chunk));
            chunk.clear();
        }
    }
    f.write(Cp932::encode(chunk));
    return path;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double timeMs(const std::function<void()> &run)
{
    std::vector<double> t;
    for (int i = 0; i < Runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        t.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return median(t);
}

// Runs a program with stdout to /dev/null; returns its largest resident size in KiB.
long spawn(const std::vector<std::string> &args, bool cLocale)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> envStore;
    for (char **e = environ; *e; ++e)
        if (!cLocale || std::strncmp(*e, "LC_", 3) != 0)
            envStore.emplace_back(*e);
    if (cLocale)
        envStore.emplace_back("LC_ALL=C");
    std::vector<char *> env;
    for (std::string &e : envStore)
        env.push_back(e.data());
    env.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), env.data()) != 0)
        return -1;
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    QString dict = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    QElapsedTimer gen;
    gen.start();
    if (dict.isEmpty())
        dict = generate(dir.filePath(u"KEN_ALL.CSV"_s), 124000);
    const QString twice = dir.filePath(u"twice.csv"_s);
    {
        QFile in(dict), out(twice);
        in.open(QIODevice::ReadOnly);
        const QByteArray all = in.readAll();
        out.open(QIODevice::WriteOnly);
        out.write(all);
        out.write(all);
    }
    std::printf("dictionary %s: %lld bytes (prepared in %lld ms)\n", qPrintable(dict),
                static_cast<long long>(QFile(dict).size()), static_cast<long long>(gen.elapsed()));
    const std::string file = dict.toStdString();
    const std::string torvane = TORVANE_BINARY;

    std::printf("%-8s %12s %12s %8s %14s %12s %8s %7s\n", "keyword", "unit ms", "grep ms", "ratio",
                "process ms", "grep ms", "ratio", "rows");
    for (const QString &keyword : {u"100"_s, u"中央"_s}) {
        const ZipSearch search(keyword);
        qint64 rows = 0;
        const double unit = timeMs([&] {
            rows = 0;
            search.searchFile(dict, [&rows](const ZipRecord &) { ++rows; });
        });
        // grep's needle in the file's own encoding.
        const std::string needle = Cp932::encode(keyword).toStdString();
        const double grep = timeMs([&] { spawn({"grep", "-c", needle, file}, true); });
        const double process = timeMs([&] {
            spawn({torvane, "--zip-search", keyword.toStdString(), "--dict", file}, false);
        });
        const double grep2 = timeMs([&] { spawn({"grep", "-c", needle, file}, true); });
        std::printf("%-8s %12.1f %12.1f %8.2f %14.1f %12.1f %8.2f %7lld\n", qPrintable(keyword), unit, grep,
                    unit / grep, process, grep2, process / grep2, static_cast<long long>(rows));
    }
    const long rss1 = spawn({torvane, "--zip-search", "中央", "--dict", file}, false);
    const long rss2 = spawn({torvane, "--zip-search", "中央", "--dict", twice.toStdString()}, false);
    std::printf("largest resident size of --zip-search: %ld KiB (file), %ld KiB (twice the file)\n", rss1,
                rss2);
    return 0;
}
