#include "ZipCommandLine.h"

#include "master/ZipSearch.h"
#include "platform/AppFolder.h"
#include "platform/CommaText.h"

#include <QFileInfo>

#include <cstdio>
#include <cstring>

using namespace Qt::StringLiterals;

namespace {

const char ZipSearchOption[] = "--zip-search";

int fail(const QString &message)
{
    std::fputs((message + u'\n').toLocal8Bit().constData(), stderr);
    return 2;
}

QString usage()
{
    return u"使い方: torvane --zip-search キーワード [--dict 辞書ファイル]..."_s;
}

} // namespace

bool isZipCommandLine(int argc, char **argv)
{
    return argc > 1 && std::strcmp(argv[1], ZipSearchOption) == 0;
}

std::optional<int> runZipCommandLine(const QStringList &args, const QString &appDir)
{
    if (args.value(1) != QLatin1StringView(ZipSearchOption))
        return std::nullopt;
    if (args.size() < 3)
        return fail(usage());
    const QString keyword = args.at(2);
    QStringList files;
    for (qsizetype i = 3; i < args.size(); ++i) {
        if (args.at(i) != u"--dict"_s || i + 1 >= args.size())
            return fail(usage());
        files.append(args.at(++i));
    }
    if (files.isEmpty()) {
        const AppFolder folder(appDir);
        for (const QString &name : ZipDictionary::usable(folder))
            files.append(ZipDictionary::path(folder, name));
    }
    const ZipSearch search(keyword);
    qint64 matches = 0;
    for (const QString &file : std::as_const(files)) {
        const auto print = [&matches](const ZipRecord &r) {
            const QByteArray line = CommaText::join({r.code, r.prefecture, r.address}).toUtf8() + '\n';
            std::fwrite(line.constData(), 1, size_t(line.size()), stdout);
            ++matches;
        };
        if (search.searchFile(file, print) == ZipSearch::Outcome::Failed)
            return fail(u"辞書を読めません: "_s + file);
    }
    std::fflush(stdout);
    return matches > 0 ? 0 : 1;
}
