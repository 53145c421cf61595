// INI text: parse, read every key, then write, delete and re-read through
// the bytes a flush would write.
#include "FuzzSupport.h"
#include "platform/IniFile.h"

using namespace Qt::StringLiterals;

namespace {

// What a reader sees of a file: every section, key and value in order.
QStringList view(const IniFile &ini)
{
    QStringList out;
    for (const QString &s : ini.sections()) {
        out.append(u'[' + s + u']');
        for (const QString &k : ini.keys(s))
            out.append(k + u'=' + ini.readString(s, k));
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    IniFile ini = IniFile::fromBytes(FuzzSupport::bytes(data, size));
    const QStringList before = view(ini);
    for (const QString &s : ini.sections())
        for (const QString &k : ini.keys(s)) {
            (void)ini.readInteger(s, k, 0);
            (void)ini.readBool(s, k, false);
            FUZZ_CHECK(ini.valueExists(s, k));
        }

    // Written back unchanged, the file reads the same.
    FUZZ_CHECK(view(IniFile::fromBytes(ini.toBytes())) == before);

    // A written key reads back after a reload, in an existing section and a new one.
    const QStringList sections = ini.sections();
    const QString section = sections.isEmpty() ? u"Fuzz"_s : sections.first();
    const QString value = u"v"_s + QString::number(size);
    ini.writeString(section, u"FuzzKey"_s, value);
    ini.writeInteger(u"FuzzNew"_s, u"Count"_s, qint64(size));
    IniFile reloaded = IniFile::fromBytes(ini.toBytes());
    FUZZ_CHECK(reloaded.readString(section, u"FuzzKey"_s) == value);
    FUZZ_CHECK(reloaded.readInteger(u"FuzzNew"_s, u"Count"_s, -1) == int(size));

    // A deleted key and an erased section are gone after a reload.
    reloaded.deleteKey(section, u"FuzzKey"_s);
    reloaded.eraseSection(u"FuzzNew"_s);
    const IniFile again = IniFile::fromBytes(reloaded.toBytes());
    FUZZ_CHECK(!again.sectionExists(u"FuzzNew"_s));
    // Unless the input held the key twice: its second line then shows.
    if (!IniFile::fromBytes(FuzzSupport::bytes(data, size)).valueExists(section, u"FuzzKey"_s))
        FUZZ_CHECK(!again.valueExists(section, u"FuzzKey"_s));
    return 0;
}
