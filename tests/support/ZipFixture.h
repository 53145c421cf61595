#pragma once

#include "platform/Cp932.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

// Postal-code dictionaries in the national layout for tests: quoted text
// fields, the code in field 2, prefecture, city and town area in 6 to 8.
namespace ZipFixture {

inline QString line(const QString &code, const QString &pref, const QString &city, const QString &town)
{
    return u"13101,\"100  \",\"" + code + u"\",\"ｶﾅ\",\"ｶﾅ\",\"ｶﾅ\",\"" + pref + u"\",\"" + city + u"\",\"" +
           town + u"\",0,0,0,0,0,0";
}

// count records of codes 1000000 and up, all "東京都千代田区千代田".
inline QStringList many(int count)
{
    QStringList lines;
    for (int i = 0; i < count; ++i)
        lines.append(line(QString::number(1000000 + i), QStringLiteral("東京都"), QStringLiteral("千代田区"),
                          QStringLiteral("千代田")));
    return lines;
}

enum class Form { Cp932, Utf8, Utf8Bom };

// Writes the lines with CR LF into folder/name; returns the path.
inline QString write(const QString &folder, const QString &name, const QStringList &lines,
                     Form form = Form::Cp932)
{
    const QString text = lines.join(u"\r\n") + u"\r\n";
    QByteArray bytes = form == Form::Cp932 ? Cp932::encode(text) : text.toUtf8();
    if (form == Form::Utf8Bom)
        bytes.prepend("\xEF\xBB\xBF");
    QDir().mkpath(folder);
    const QString path = folder + u'/' + name;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

// A few records of two cities with the national file's oddities: a note in
// parentheses, a blank town area, a record split over two lines, a line of
// few fields.
inline QStringList sample()
{
    return {
        line(QStringLiteral("0600000"), QStringLiteral("北海道"), QStringLiteral("札幌市中央区"),
             QStringLiteral("以下に掲載がない場合")),
        line(QStringLiteral("0600042"), QStringLiteral("北海道"), QStringLiteral("札幌市中央区"),
             QStringLiteral("大通西（１～１９丁目）")),
        line(QStringLiteral("0600061"), QStringLiteral("北海道"), QStringLiteral("札幌市中央区"),
             QStringLiteral("南一条西（１～１９丁目、")),
        line(QStringLiteral("0600061"), QStringLiteral("北海道"), QStringLiteral("札幌市中央区"),
             QStringLiteral("２０～２８丁目）")),
        line(QStringLiteral("1000001"), QStringLiteral("東京都"), QStringLiteral("千代田区"),
             QStringLiteral("千代田")),
        line(QStringLiteral("1000005"), QStringLiteral("東京都"), QStringLiteral("千代田区"),
             QStringLiteral("丸の内（次のビルを除く）")),
        line(QStringLiteral("1006890"), QStringLiteral("東京都"), QStringLiteral("千代田区"),
             QStringLiteral("丸の内ＪＰタワー（地階・階層不明）")),
        line(QStringLiteral("1010021"), QStringLiteral("東京都"), QStringLiteral("千代田区"),
             QStringLiteral("外神田旭100")),
        QStringLiteral("13101,\"100  \",\"1234000\""),
        QStringLiteral("見出し"),
    };
}

} // namespace ZipFixture
