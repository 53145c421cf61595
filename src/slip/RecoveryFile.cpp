#include "RecoveryFile.h"

#include "platform/IniFile.h"

#include <QRegularExpression>

using namespace Qt::StringLiterals;

namespace {

const QString Group = u"Recovery"_s;
const QString TimeFormat = u"yyyy-MM-ddTHH:mm:ss"_s;

} // namespace

namespace RecoveryFile {

QString fileName(qint64 pid, const QString &instance)
{
    return QString::number(pid) + u'-' + instance + u".tvr"_s;
}

bool isRecoveryName(const QString &name)
{
    static const QRegularExpression form(u"^\\d+-\\w+\\.tvr$"_s);
    return form.match(name).hasMatch();
}

bool write(const QString &path, const Header &header, const SlipData &slip, const SlipFile::Context &context,
           QString *error)
{
    // The file is written afresh each time: a row deleted since the last
    // write must not survive as a key left over in the file.
    IniFile ini(path);
    for (const QString &section : ini.sections())
        ini.eraseSection(section);
    ini.writeString(Group, u"OriginalPath"_s, header.originalPath);
    ini.writeInteger(Group, u"Pid"_s, header.pid);
    ini.writeString(Group, u"Time"_s, header.time.toString(TimeFormat));
    ini.writeString(Group, u"SlipCode"_s, header.slipCode);
    ini.writeString(Group, u"Customer"_s, header.customer);
    return SlipFile::save(ini, slip, sstAll, context, error);
}

std::optional<Header> readHeader(const IniFile &ini)
{
    if (!ini.readable() || !ini.sectionExists(Group))
        return std::nullopt;
    Header h;
    h.originalPath = ini.readString(Group, u"OriginalPath"_s);
    h.pid = ini.readString(Group, u"Pid"_s).toLongLong();
    h.time = QDateTime::fromString(ini.readString(Group, u"Time"_s), TimeFormat);
    h.slipCode = ini.readString(Group, u"SlipCode"_s);
    h.customer = ini.readString(Group, u"Customer"_s);
    return h;
}

} // namespace RecoveryFile
