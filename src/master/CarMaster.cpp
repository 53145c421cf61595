#include "CarMaster.h"

#include "platform/AppFolder.h"
#include "platform/SafeFileName.h"
#include "platform/TextList.h"

#include <QCollator>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace CarMaster {

namespace {

// The maker list shares the folder with the car-name files.
bool isMakerListName(const QString &maker)
{
    return maker.compare(QFileInfo(AppFolder(QString()).makersFile()).fileName(), Qt::CaseInsensitive) == 0;
}

} // namespace

QStringList makers(const AppFolder &folder)
{
    return TextList::read(folder.makersFile());
}

bool saveMakers(const AppFolder &folder, const QStringList &makers, QString *error)
{
    return TextList::write(folder.makersFile(), makers, error);
}

bool isMakerName(const QString &maker)
{
    return SafeFileName::isSafe(maker) && !isMakerListName(maker);
}

QString refusal(const QString &maker)
{
    if (isMakerListName(maker))
        return u"「%1」はメーカー一覧のファイル名のため、メーカー名に使えません。"_s.arg(maker);
    return SafeFileName::refusal(maker);
}

QStringList carNames(const AppFolder &folder, const QString &maker)
{
    if (!isMakerName(maker))
        return {};
    return TextList::read(folder.carNamesFile(maker));
}

bool saveCarNames(const AppFolder &folder, const QString &maker, const QStringList &names, QString *error)
{
    if (maker.isEmpty())
        return true;
    if (!isMakerName(maker)) {
        if (error)
            *error = refusal(maker);
        return false;
    }
    // Looking through the makers must not leave a file for each one without
    // car names; a list that was emptied is still written.
    const QString path = folder.carNamesFile(maker);
    const bool noNames =
        std::all_of(names.begin(), names.end(), [](const QString &n) { return n.isEmpty(); });
    if (noNames && !QFileInfo::exists(path))
        return true;
    return TextList::write(path, names, error);
}

bool removeCarNames(const AppFolder &folder, const QString &maker, QString *error)
{
    if (!isMakerName(maker))
        return true;
    const QString path = folder.carNamesFile(maker);
    QFile file(path);
    if (!file.exists() || file.remove())
        return true;
    if (error)
        *error = u"%1 を削除できません: %2"_s.arg(path, file.errorString());
    return false;
}

QString carNameText(const QString &maker, const QString &carName)
{
    return QString(maker + u' ' + carName).trimmed();
}

void sortNames(QStringList &names)
{
    QCollator collator;
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(names.begin(), names.end(), [&collator](const QString &a, const QString &b) {
        if (a.isEmpty() || b.isEmpty())
            return a.isEmpty() && !b.isEmpty();
        return collator.compare(a, b) < 0;
    });
}

} // namespace CarMaster
