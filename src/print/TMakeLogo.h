#pragma once

#include "LogoSetting.h"

#include <QImage>
#include <QPicture>

// Turns a company-name setting into the logo picture: a vector picture of
// 425 × 177 logo units with the company name, the address block and,
// optionally, the picture file.
class TMakeLogo {
public:
    TMakeLogo() = default;

    // When off, the picture file is left out (the page draws it itself at
    // the printer's resolution).
    void setPictureOption(bool on) { pictureOption_ = on; }
    bool pictureOption() const { return pictureOption_; }

    void render(const LogoSetting &setting);
    const QPicture &picture() const { return picture_; }

    // Font sizes become logo units at a fixed 96 pixels per inch, so a
    // setting looks the same on every screen and page.
    static int unitsForPoints(int points);

private:
    QPicture picture_;
    bool pictureOption_ = true;
    QString loadedPath_;
    QImage loaded_;
};
