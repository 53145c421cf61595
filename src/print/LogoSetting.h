#pragma once

#include <QString>
#include <QStringList>

// A company-name print setting: 23 text lines addressed by index, and the
// named settings kept in Dat/Mst/LogoList and Dat/Etc/<name>.Dat.
// An optional 24th line holds the issuer's qualified-invoice registration
// number; a file of 23 lines has none, and reads as before.
class LogoSetting {
public:
    static constexpr int LineCount = 23;
    static constexpr int RegistrationLine = 23;
    // The logo canvas in logo units.
    static constexpr int CanvasWidth = 425;
    static constexpr int CanvasHeight = 177;

    LogoSetting() = default;
    explicit LogoSetting(QStringList lines);

    static LogoSetting defaults();
    static LogoSetting load(const QString &path, bool *ok = nullptr);

    const QStringList &lines() const { return lines_; }
    QString line(int index) const { return lines_.value(index); }
    // A line as a number, or def when it is none.
    int number(int index, int def) const;

    QString companyFace() const { return line(0); }
    int companyStyle() const { return number(1, 0); }
    int companyColour() const { return number(2, 0); }
    int companySize() const { return number(3, 10); }
    QString addressFace() const { return line(6); }
    int addressStyle() const { return number(7, 0); }
    int addressColour() const { return number(8, 0); }
    int addressSize() const { return number(9, 10); }
    QString pictureFile() const { return line(18); }
    // The picture's box in logo units.
    // Bounded to ±MaxPictureUnits (far beyond the canvas), so that scaling
    // the box onto the page cannot overflow.
    int pictureLeft() const { return boxNumber(19, 0); }
    int pictureTop() const { return boxNumber(20, 0); }
    int pictureWidth() const { return boxNumber(21, 100); }
    int pictureHeight() const { return boxNumber(22, 100); }
    static constexpr int MaxPictureUnits = 100 * CanvasWidth;
    // "T" + 13 digits as stored (RegistrationNumber::normalise), or empty.
    QString registrationNumber() const { return line(RegistrationLine).trimmed(); }
    // Sets the 24th line; an empty number drops it, so the file keeps the
    // 23 lines of a setting without one.
    void setRegistrationNumber(const QString &number);
    // Whether a file's line count is one of a setting: 23, or 24 with the number.
    static bool isSettingLineCount(qsizetype count) { return count == LineCount || count == LineCount + 1; }

    // Whether the setting at path still names no company: its company line
    // is empty or the text a new installation ships. No path, or no file,
    // prints no company block and is no placeholder. Printing then goes on, with one warning per
    // process (companyWarningOnce).
    static bool isPlaceholder(const QString &path);
    static QString companyWarning();
    // The warning text for a run with the setting at path, the first time a
    // placeholder is printed in this process; empty otherwise.
    static QString companyWarningOnce(const QString &path);

    // Name "デフォルト": the default setting, which cannot be deleted.
    static QString defaultName();

    // The names of Dat/Mst/LogoList in list order.
    static QStringList names(const QString &appDir);
    // Writes the setting as Dat/Etc/<name>.Dat (replacing a file of that
    // name in any letter case) and appends name to LogoList unless it is
    // listed already; the list is created when it is missing.
    static bool saveNamed(const QString &appDir, const QString &name, const LogoSetting &setting,
                          QString *error = nullptr);

    // Creates LogoList holding "デフォルト" when it is missing, and the file
    // of its first name with the default lines when that is missing.
    static bool ensureDefaults(const QString &appDir, QString *error = nullptr);

private:
    int boxNumber(int index, int def) const
    {
        const int n = number(index, def);
        return n < -MaxPictureUnits ? -MaxPictureUnits : n > MaxPictureUnits ? MaxPictureUnits : n;
    }

    QStringList lines_;
};
