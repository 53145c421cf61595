#include "CompanyBlock.h"

#include "RegistrationNumber.h"

using namespace Qt::StringLiterals;

namespace {

QStringList withHead(const QString &companySize, const QString &name1, const QString &name2,
                     const QString &addressSize)
{
    return {u"ＭＳ ゴシック"_s, u"0"_s, u"0"_s, companySize, name1, name2,
            u"ＭＳ ゴシック"_s, u"0"_s, u"0"_s, addressSize};
}

QStringList pictureless()
{
    return {QString(), u"0"_s, u"0"_s, u"100"_s, u"100"_s};
}

QString joined(const QStringList &parts)
{
    QStringList kept;
    for (const QString &p : parts) {
        if (!p.trimmed().isEmpty())
            kept << p.trimmed();
    }
    return kept.join(u"  "_s);
}

} // namespace

QStringList CompanyBlock::prefectures()
{
    return {u"北海道"_s, u"青森県"_s,   u"岩手県"_s, u"宮城県"_s,   u"秋田県"_s, u"山形県"_s, u"福島県"_s,
            u"茨城県"_s, u"栃木県"_s,   u"群馬県"_s, u"埼玉県"_s,   u"千葉県"_s, u"東京都"_s, u"神奈川県"_s,
            u"新潟県"_s, u"富山県"_s,   u"石川県"_s, u"福井県"_s,   u"山梨県"_s, u"長野県"_s, u"岐阜県"_s,
            u"静岡県"_s, u"愛知県"_s,   u"三重県"_s, u"滋賀県"_s,   u"京都府"_s, u"大阪府"_s, u"兵庫県"_s,
            u"奈良県"_s, u"和歌山県"_s, u"鳥取県"_s, u"島根県"_s,   u"岡山県"_s, u"広島県"_s, u"山口県"_s,
            u"徳島県"_s, u"香川県"_s,   u"愛媛県"_s, u"高知県"_s,   u"福岡県"_s, u"佐賀県"_s, u"長崎県"_s,
            u"熊本県"_s, u"大分県"_s,   u"宮崎県"_s, u"鹿児島県"_s, u"沖縄県"_s};
}

QString CompanyBlock::zip() const
{
    if (zip1.trimmed().isEmpty() && zip2.trimmed().isEmpty())
        return {};
    return zip1.trimmed() + u'-' + zip2.trimmed();
}

LogoSetting CompanyBlock::autoSetting() const
{
    QStringList lines = withHead(u"20"_s, name1, name2, u"12"_s);
    lines << zip() << prefecture + address << building << u"TEL "_s + tel << u"FAX "_s + fax << QString()
          << QString() << QString();
    lines << pictureless();
    LogoSetting setting(lines);
    setting.setRegistrationNumber(RegistrationNumber::normalise(registration));
    return setting;
}

LogoSetting CompanyBlock::setupSetting() const
{
    QStringList lines = withHead(u"18"_s, name1, name2, u"10"_s);
    const QString phone =
        joined({tel.isEmpty() ? QString() : u"TEL "_s + tel, fax.isEmpty() ? QString() : u"FAX "_s + fax});
    const QString account = joined({bank, branch, accountType, accountNumber});
    lines << (zip().isEmpty() ? QString() : u"〒"_s + zip()) << prefecture + address << building << phone
          << web.trimmed() << (account.isEmpty() ? QString() : u"振込先 "_s + account)
          << (accountHolder.trimmed().isEmpty() ? QString() : u"口座名義 "_s + accountHolder.trimmed())
          << QString();
    lines << pictureless();
    LogoSetting setting(lines);
    setting.setRegistrationNumber(RegistrationNumber::normalise(registration));
    return setting;
}
