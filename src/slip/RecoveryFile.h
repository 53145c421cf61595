#pragma once

#include "SlipFile.h"

#include <QDateTime>

#include <optional>

// The recovery file of a slip with unsaved changes: the whole slip in the
// slip file's own form plus a [Recovery] group that says where it came from,
// so that the next start can offer it after a crash or a power cut.
namespace RecoveryFile {

struct Header {
    QString originalPath; // the slip's file; empty for a slip never saved
    qint64 pid = 0;       // the process that wrote it
    QDateTime time;       // when it was written
    QString slipCode;
    QString customer; // name and title, as the slip shows them
};

// "<pid>-<instance>.tvr": one file per window, never shared.
QString fileName(qint64 pid, const QString &instance);
bool isRecoveryName(const QString &name);

// Writes header and slip into path in one atomic step (an older recovery
// file there is replaced as a whole). False with the reason in *error.
bool write(const QString &path, const Header &header, const SlipData &slip, const SlipFile::Context &context,
           QString *error);

// The header of a recovery file; nullopt when ini is none.
std::optional<Header> readHeader(const IniFile &ini);

} // namespace RecoveryFile
