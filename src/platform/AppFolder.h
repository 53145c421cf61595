#pragma once

#include <QString>

// The application folder: the executable's folder, which holds the settings
// file and the data folder Dat/. Every file and folder below Dat/ that the
// program uses is named here, so the layout of the data folder lives in one
// place. Folder paths end in "/"; paths are built with "/".
class AppFolder {
public:
    // path: the folder, with or without a trailing separator. An empty path
    // stands for the current folder: the paths below it come out relative.
    explicit AppFolder(const QString &path);
    // The folder of the running executable (needs an application object).
    static AppFolder ofProgram();

    // The folder itself, with a trailing "/" unless empty.
    const QString &path() const { return path_; }

    // <executable name>.ini in the folder: the name of the running program,
    // "torvane" without an application object.
    QString settingsFile() const;

    QString dataFolder() const;     // Dat/
    QString masterFolder() const;   // Dat/Mst/
    QString formatFolder() const;   // Dat/Fmt/
    QString etcFolder() const;      // Dat/Etc/
    QString tempFolder() const;     // Dat/Tmp/
    QString taxFolder() const;      // Dat/Tax/
    QString templateFolder() const; // Dat/Template/
    // Dat/Recovery/: the unsaved state of open slips, for the next start
    // after a crash.
    QString recoveryFolder() const;
    // Dat/Backup/: dated archives of the masters and settings.
    QString backupFolder() const;
    QString itemFolder() const;  // Dat/Mst/Mnt/: the price list
    QString carFolder() const;   // Dat/Mst/Mk/: car makers and car names
    QString zipFolder() const;   // Dat/Mst/Zip/: postal-code dictionaries
    QString zipListFile() const; // Dat/Mst/Zip/ziplist: the active ones, in order

    QString printDefaultsFile() const;       // Dat/Mst/DefPrDat
    QString logoListFile() const;            // Dat/Mst/LogoList
    QString memoOptionsFile() const;         // Dat/Mst/MemoOpt.Dat
    QString slipDivisionsFile() const;       // Dat/Mst/SlipDiv.dat
    QString lineCategoriesFile() const;      // Dat/Mst/LineDiv.dat
    QString registrationRegionsFile() const; // Dat/Mst/Rkdat.dat
    QString workNamesFile() const;           // Dat/Mst/作業名
    QString staffFile() const;               // Dat/Mst/担当者
    QString costNamesFile() const;           // Dat/Mst/諸費用
    // Dat/Mst/<name>: a master list (担当者, 諸費用, 作業名), named by its
    // title without extension. The name is used as it stands; callers check
    // it with SafeFileName first.
    QString masterListFile(const QString &name) const;
    QString makersFile() const; // Dat/Mst/Mk/Maker.dat
    // Dat/Mst/Mk/<maker>: the car names of a maker, found without regard to
    // case. The name is used as it stands; callers check it first.
    QString carNamesFile(const QString &maker) const;

    // Dat/Fmt/<name>.fmt, found without regard to case.
    QString formatFile(const QString &name) const;
    // Dat/Etc/<name>.Dat (or .dat, or any other case), the file of a
    // company-name setting, found without regard to case.
    QString logoFile(const QString &name) const;

    // folder + name, where name matches an existing file of folder without
    // regard to case: data files are copied between Windows, where case does
    // not count, and systems where it does. A file spelled exactly as name is
    // preferred; without any match the path is name as spelled. folder ends
    // in "/".
    static QString findFile(const QString &folder, const QString &name);

private:
    QString path_;
};
