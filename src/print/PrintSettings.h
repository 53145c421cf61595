#pragma once

#include <QString>

#include <array>

// The print settings the main window keeps for its print runs: the copy
// titles and the format of each slip kind, which copies print, the
// company-name setting file, and the print correction.
struct PrintSettings {
    std::array<std::array<QString, 4>, 3> titles; // [slip kind][copy]
    std::array<bool, 4> copies{true, true, false, false};
    std::array<QString, 3> formatPaths; // [slip kind]: <appDir>Dat/Fmt/<name>.fmt when it exists, else empty
    QString logoPath;                   // <appDir>Dat/Etc/<name>.Dat (any case), or empty
    QString defaultFormat;              // [Def] Fomat as written: the design of every kind without its own
    std::array<QString, 3> kindFormats; // [Mit]/[Sig]/[Nou] Fomat as written; empty: defaultFormat serves
    QString logoName;                   // [Def] Logo as written
    double fixX = 0;                    // millimetres, positive moves right
    double fixY = 0;                    // millimetres, positive moves down

    // Dat/Mst/DefPrDat with its defaults, and [Print] Fix_X/Fix_Y of the
    // settings file. The one reader of both: the main window and the command
    // lines print with the same settings. The format of a slip kind is
    // [Mit]/[Sig]/[Nou] Fomat, or [Def] Fomat when its kind names none.
    // Format and company-name setting names are matched to their files
    // without regard to case.
    static PrintSettings load(const QString &appDir, const QString &settingsFile);

    // Writes the titles, the copies, the design names (kindFormats and
    // [Def] Fomat) and [Def] Logo to Dat/Mst/DefPrDat, leaving its other keys
    // as they are. formatPaths is what a print run uses and is not written.
    bool writeDefaults(const QString &appDir, QString *error = nullptr) const;

    // [Print] Fix_X and Fix_Y, written and flushed at once.
    static bool writeCorrections(const QString &settingsFile, double fixX, double fixY,
                                 QString *error = nullptr);
    static void readCorrections(const QString &settingsFile, double *fixX, double *fixY);

    // The titles of a slip kind (0..2); four empty titles for any other.
    std::array<QString, 4> titlesOf(int slipKind) const;
    // The format of a slip kind; that of an estimate for any other kind.
    QString formatOf(int slipKind) const;
    void setFormatOf(int slipKind, const QString &path);
    // "見積書", "作業指示書", "納品書"; empty for another kind.
    static QString kindName(int slipKind);
};
