#include "DataFolderChoice.h"

#include "TextList.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

using namespace Qt::StringLiterals;

namespace DataFolderChoice {

namespace {

const QString Option = u"--data-dir"_s;
const char EnvironmentName[] = "TORVANE_DATA_DIR";
// Records which defaults filled the folder.
const QString StampFile = u".defaults"_s;

QString withSlash(const QString &folder)
{
    QString path = QDir::fromNativeSeparators(QDir(folder).absolutePath());
    if (!path.endsWith(u'/'))
        path += u'/';
    return path;
}

} // namespace

Choice choose(const Inputs &inputs)
{
    if (!inputs.option.isEmpty())
        return {withSlash(inputs.option), Source::Option};
    if (!inputs.environment.isEmpty())
        return {withSlash(inputs.environment), Source::Environment};
    if (inputs.programFolderUsable)
        return {withSlash(inputs.programFolder), Source::BesideProgram};
    return {withSlash(inputs.userFolder), Source::PerUser};
}

bool usableAsIs(const QString &folder)
{
    if (!QFileInfo(AppFolder(folder).dataFolder()).isDir())
        return false;
    // Permission bits do not tell for shares and for the superuser: try.
    QTemporaryFile probe(withSlash(folder) + u".torvane-probe-XXXXXX"_s);
    return probe.open();
}

QString bundledDefaults(const QString &programFolder)
{
    const QString path = QDir::cleanPath(programFolder + u"/../share/torvane/Dat"_s);
    return QFileInfo(path).isDir() ? path + u'/' : QString();
}

bool seed(const QString &defaultsData, const QString &target, const QString &stamp, QString *error)
{
    const AppFolder folder(target);
    const QString stampPath = folder.dataFolder() + StampFile;
    if (TextList::read(stampPath).value(0) == stamp)
        return true;
    const QDir source(defaultsData);
    QStringList failed;
    QDirIterator it(defaultsData, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString copy = folder.dataFolder() + source.relativeFilePath(file);
        if (QFileInfo::exists(copy))
            continue; // the user's own, or an earlier copy
        QDir().mkpath(QFileInfo(copy).absolutePath());
        // Installed defaults are read-only; the user's copy must not be.
        if (!QFile::copy(file, copy) ||
            !QFile::setPermissions(copy, QFile::permissions(copy) | QFile::WriteOwner | QFile::ReadOwner))
            failed << QDir::toNativeSeparators(copy);
    }
    QDir().mkpath(folder.tempFolder());
    if (!failed.isEmpty()) {
        if (error)
            *error = failed.join(u'\n') + u"\nを作れません"_s;
        return false;
    }
    return TextList::write(stampPath, {stamp}, error);
}

QString takeOption(QStringList *arguments)
{
    QString folder;
    for (qsizetype i = 1; i < arguments->size();) {
        const QString &a = arguments->at(i);
        if (a == Option && i + 1 < arguments->size()) {
            folder = arguments->at(i + 1);
            arguments->remove(i, 2);
        } else if (a.startsWith(Option + u'=')) {
            folder = a.mid(Option.size() + 1);
            arguments->remove(i);
        } else {
            ++i;
        }
    }
    return folder;
}

Choice select(const QString &option, const QString &stamp, QString *warning)
{
    Inputs in;
    in.option = option;
    in.environment = qEnvironmentVariable(EnvironmentName);
    in.programFolder = QCoreApplication::applicationDirPath();
    in.programFolderUsable = in.option.isEmpty() && in.environment.isEmpty() && usableAsIs(in.programFolder);
    in.userFolder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const Choice choice = choose(in);
    if (choice.source == Source::BesideProgram)
        return choice;
    QString error;
    if (!QDir().mkpath(choice.folder))
        error = QDir::toNativeSeparators(choice.folder) + u" を作れません"_s;
    const QString defaults = bundledDefaults(in.programFolder);
    if (error.isEmpty() && !defaults.isEmpty())
        seed(defaults, choice.folder, stamp, &error);
    if (warning)
        *warning = error;
    return choice;
}

QString describe(Source source)
{
    switch (source) {
    case Source::Option:
        return u"起動オプション --data-dir で指定"_s;
    case Source::Environment:
        return u"環境変数 TORVANE_DATA_DIR で指定"_s;
    case Source::BesideProgram:
        return u"プログラムと同じフォルダ"_s;
    case Source::PerUser:
        break;
    }
    return u"ユーザーごとのフォルダ"_s;
}

} // namespace DataFolderChoice
