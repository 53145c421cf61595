#pragma once

#include "LogoSetting.h"

#include <QString>
#include <QStringList>

// The facts of a workshop that its documents carry, as typed in the
// automatic creation of a company-name setting and in the first-start setup.
struct CompanyBlock {
    QString name1, name2;
    QString zip1, zip2; // "123", "4567"
    QString prefecture;
    QString address;
    QString building;
    QString tel, fax;
    QString web; // mail address or home page
    QString bank, branch, accountType, accountNumber, accountHolder;
    QString registration; // as typed; normalised when the setting is made

    // The 47 prefectures from 北海道 to 沖縄県.
    static QStringList prefectures();

    // "123-4567", or empty when neither part is given.
    QString zip() const;

    // The setting of the automatic creation: company name at 20 points,
    // then zip, prefecture and address, building, "TEL …", "FAX …".
    LogoSetting autoSetting() const;
    // The fuller block of the first-start setup: "〒" zip, address,
    // building, telephone and fax on one line, web or mail, and the bank
    // account in two lines, with the registration number when one is given.
    LogoSetting setupSetting() const;
};
