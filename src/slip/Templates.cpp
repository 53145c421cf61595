#include "Templates.h"

#include "lines/Share.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace Templates {

namespace {
const QString TemplateSection = u"Template"_s;
} // namespace

QString categoryLabel(int category)
{
    switch (category) {
    case sstAll:
        return u"全て表示"_s;
    case sstCustomer:
        return u"顧客"_s;
    case sstCar:
        return u"車両"_s;
    case sstCustCar:
        return u"顧客と車両"_s;
    case sstLines:
        return u"明細のみ"_s;
    case sstSlip:
        return u"伝票全体"_s;
    default:
        return {};
    }
}

QString categoryDescription(int category)
{
    switch (category) {
    case sstCustomer:
        return u"顧客情報をテンプレートとして保存します。"_s;
    case sstCar:
        return u"車両情報をテンプレートとして保存します。"_s;
    case sstCustCar:
        return u"顧客と車両情報をテンプレートとして保存します。"_s;
    case sstLines:
        return u"伝票の明細のみをテンプレートとして保存します。"_s;
    case sstSlip:
        return u"顧客と車両の除いた伝票全体をテンプレートとして保存します。"_s;
    default:
        return {};
    }
}

QString detailText(const IniFile &ini, const QString &categoryName)
{
    const QString custName = ini.readString(u"Cust"_s, u"Name"_s);
    const QString city = ini.readString(u"Cust"_s, u"City"_s);
    const QString add1 = ini.readString(u"Cust"_s, u"Add1"_s);
    const QString num = ini.readString(u"Car"_s, u"Num"_s);
    const QString carName = ini.readString(u"Car"_s, u"Name"_s);
    const QString typeCode = ini.readString(u"Car"_s, u"TypeCode"_s);
    switch (SaveTypeFromName(categoryName)) {
    case sstCustomer:
        return custName + u' ' + city + u' ' + add1;
    case sstCar: {
        QString text;
        if (!num.isEmpty())
            text = u"【"_s + num + u"】"_s;
        return text + u' ' + carName + u' ' + typeCode;
    }
    case sstCustCar: {
        QString text = custName;
        if (!num.isEmpty())
            text += u" 【"_s + num + u"】"_s;
        return text + u" / "_s + carName + u' ' + typeCode + u" / "_s + city + u' ' + add1;
    }
    case sstLines:
    case sstSlip: {
        const int count = ini.readInteger(u"Line"_s, u"Count"_s, 0);
        QStringList texts;
        for (int i = 0; i < count; ++i)
            texts.append(ini.readString(u"Line"_s, u"TextA%1"_s.arg(i, 5, 10, QChar(u'0'))));
        return texts.join(u" | "_s);
    }
    default:
        return {};
    }
}

QList<Entry> list(const QString &folder, int filter)
{
    if (filter < sstCustomer || filter > sstSlip)
        filter = sstAll;
    QList<Entry> entries;
    const QFileInfoList files = QDir(folder).entryInfoList({u"*.tvt"_s}, QDir::Files, QDir::NoSort);
    for (const QFileInfo &file : files) {
        const IniFile ini(file.filePath());
        const QString categoryName =
            ini.readable() ? ini.readString(TemplateSection, u"Category"_s) : QString();
        const int category = SaveTypeFromName(categoryName);
        if (filter != sstAll && category != filter)
            continue;
        Entry e;
        e.fileName = file.fileName();
        if (ini.readable()) {
            e.name = ini.readString(TemplateSection, u"Name"_s);
            e.detail = detailText(ini, categoryName);
        }
        // sstAll is a filter, not a category a template is saved with.
        e.category = category >= sstCustomer && category <= sstSlip ? category : 0;
        entries.append(e);
    }
    return entries;
}

QString newTemplatePath(const QString &folder)
{
    const QDir dir(folder);
    QString path;
    do
        path = dir.filePath(MakeUniqueCode(u".tvt"_s));
    while (QFileInfo::exists(path));
    return path;
}

void writeHeader(IniFile &ini, TSlipSaveType category, const QString &name)
{
    ini.writeString(TemplateSection, u"Category"_s, SaveTypeName(category));
    ini.writeString(TemplateSection, u"Name"_s, name);
}

} // namespace Templates
