// Print formats: a format (the input) with a fixed slip makes print data;
// the script stays within its size limit and one command a line.
#include "FuzzSupport.h"
#include "print/TSlipMakeDBM.h"

#include <QBuffer>

using namespace Qt::StringLiterals;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static const QByteArray slip = FuzzSupport::dataFile(u"samples/estimate-with-vehicle.tvx"_s);
    PrintRunInputs in;
    in.formatPath = u"fuzz.fmt"_s;
    in.titles = {u"御見積書"_s, u"控"_s, QString(), QString()};
    in.enabled = {true, true, false, false};
    TSlipMakeDBM maker(in);
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    const bool ok = maker.WritePrintData(slip, FuzzSupport::bytes(data, size), out);
    FUZZ_CHECK(ok || !maker.errorString().isEmpty());
    FUZZ_CHECK(out.size() <= TSlipMakeDBM::MaxScriptBytes);
    if (!ok)
        return 0;
    // One command a line: no line break of a value may open a line of its own.
    const QByteArray script = out.data();
    for (qsizetype i = 0; i < script.size(); ++i) {
        if (script.at(i) == '\r')
            FUZZ_CHECK(i + 1 < script.size() && script.at(i + 1) == '\n');
        if (script.at(i) == '\n')
            FUZZ_CHECK(i > 0 && script.at(i - 1) == '\r');
    }
    return 0;
}
