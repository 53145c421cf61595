#include "LogoSetting.h"

#include "platform/AppFolder.h"
#include "platform/IntText.h"
#include "platform/TextList.h"

#include <QDir>
#include <QFileInfo>

#include <atomic>

using namespace Qt::StringLiterals;

LogoSetting::LogoSetting(QStringList lines) : lines_(std::move(lines)) {}

LogoSetting LogoSetting::defaults()
{
    return LogoSetting(QStringList{u"ＭＳ ゴシック"_s,
                                   u"0"_s,
                                   u"0"_s,
                                   u"18"_s,
                                   u"社名を入力してください"_s,
                                   u"社名の2行目"_s,
                                   u"ＭＳ ゴシック"_s,
                                   u"0"_s,
                                   u"0"_s,
                                   u"10"_s,
                                   u"000-0000"_s,
                                   u"都道府県市区町村"_s,
                                   u"その他の住所"_s,
                                   u"電話番号・ファックス"_s,
                                   u"ホームページなど"_s,
                                   u"メールアドレスなど"_s,
                                   u"口座番号など"_s,
                                   u"口座番号など"_s,
                                   QString(),
                                   u"0"_s,
                                   u"0"_s,
                                   u"100"_s,
                                   u"100"_s});
}

bool LogoSetting::isPlaceholder(const QString &path)
{
    // No setting chosen prints no company block at all: nothing to warn of.
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    const QString company = load(path).line(4).trimmed();
    return company.isEmpty() || company == defaults().line(4);
}

QString LogoSetting::companyWarning()
{
    return u"会社名が未設定です。オプション設定で会社情報を入力してください。"_s;
}

QString LogoSetting::companyWarningOnce(const QString &path)
{
    static std::atomic<bool> warned{false};
    if (!isPlaceholder(path) || warned.exchange(true))
        return {};
    return companyWarning();
}

LogoSetting LogoSetting::load(const QString &path, bool *ok)
{
    return LogoSetting(TextList::read(path, ok));
}

void LogoSetting::setRegistrationNumber(const QString &number)
{
    while (lines_.size() < LineCount)
        lines_.append(QString());
    lines_ = lines_.mid(0, LineCount);
    if (!number.trimmed().isEmpty())
        lines_.append(number.trimmed());
}

int LogoSetting::number(int index, int def) const
{
    return IntText::toIntDef(line(index).trimmed(), def);
}

QString LogoSetting::defaultName()
{
    return u"デフォルト"_s;
}

bool LogoSetting::ensureDefaults(const QString &appDir, QString *error)
{
    const AppFolder folder(appDir);
    const QString list = folder.logoListFile();
    if (!QFileInfo::exists(list)) {
        QDir().mkpath(QFileInfo(list).absolutePath());
        if (!TextList::write(list, {defaultName()}, error))
            return false;
    }
    const QString first = TextList::read(list).value(0);
    if (first.isEmpty())
        return true;
    const QString setting = folder.logoFile(first);
    if (QFileInfo::exists(setting))
        return true;
    QDir().mkpath(QFileInfo(setting).absolutePath());
    return TextList::write(setting, defaults().lines(), error);
}

QStringList LogoSetting::names(const QString &appDir)
{
    return TextList::read(AppFolder(appDir).logoListFile());
}

bool LogoSetting::saveNamed(const QString &appDir, const QString &name, const LogoSetting &setting,
                            QString *error)
{
    const AppFolder folder(appDir);
    QDir().mkpath(folder.etcFolder());
    if (!TextList::write(folder.logoFile(name), setting.lines(), error))
        return false;
    QStringList list = names(appDir);
    if (list.contains(name))
        return true;
    list.append(name);
    QDir().mkpath(folder.masterFolder());
    return TextList::write(folder.logoListFile(), list, error);
}
