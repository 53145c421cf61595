#pragma once

#include "AppFolder.h"

#include <QString>
#include <QStringList>

// Where the program keeps its data folder Dat/ and its settings file.
//
// In order: a folder named on the command line (--data-dir FOLDER), a folder
// named by the environment (TORVANE_DATA_DIR) — both for workshops that keep
// one shared folder on their file server —, the executable's own folder when
// it holds Dat/ and can be written (a portable copy on a stick or a share),
// and otherwise the user's own data folder. A named or per-user folder is
// filled from the defaults installed with the program, never overwriting a
// file that is already there.
namespace DataFolderChoice {

enum class Source { Option, Environment, BesideProgram, PerUser };

struct Inputs {
    QString option;        // --data-dir; empty when not given
    QString environment;   // TORVANE_DATA_DIR; empty when not set
    QString programFolder; // the executable's folder
    bool programFolderUsable = false;
    QString userFolder; // the per-user data location
};

struct Choice {
    QString folder; // with a trailing "/"
    Source source = Source::PerUser;
};

// The rule itself, without looking at any disk.
Choice choose(const Inputs &inputs);

// Whether folder holds Dat/ and a file can be made in it.
bool usableAsIs(const QString &folder);

// The defaults installed with the program: <prefix>/share/torvane/Dat for an
// executable in <prefix>/bin; empty when there are none.
QString bundledDefaults(const QString &programFolder);

// Copies every file of defaultsData (a Dat folder) that target's Dat/ lacks.
// It runs when the folder has not been filled from these defaults yet
// (stamp, e.g. the program's version, differs from the one recorded in
// Dat/), so that a file the user deleted on purpose stays deleted until the
// next version brings its defaults. False with *error when a file could not
// be copied.
bool seed(const QString &defaultsData, const QString &target, const QString &stamp, QString *error = nullptr);

// Removes "--data-dir FOLDER" and "--data-dir=FOLDER" from arguments (the
// first being the program) and returns the folder; empty when not given.
QString takeOption(QStringList *arguments);

// The folder of this run (needs an application object): chooses, creates a
// named or per-user folder and fills it from the installed defaults.
// *warning tells about a folder that could not be made or filled.
Choice select(const QString &option, const QString &stamp, QString *warning = nullptr);

// How the choice is shown to the user, e.g. in the about box.
QString describe(Source source);

} // namespace DataFolderChoice
