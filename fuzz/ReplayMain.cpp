// Runs a harness over files and folders of inputs once each, without
// libFuzzer: the ordinary test run replays the seeds and every input that
// once broke a reader. A broken invariant or a crash fails the test.
#include <QByteArray>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

int replay(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(path));
        return 1;
    }
    const QByteArray bytes = f.readAll();
    std::fprintf(stderr, "%s\n", qPrintable(path));
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.constData()), size_t(bytes.size()));
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    int failures = 0;
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const QString arg = QFile::decodeName(argv[i]);
        if (QFileInfo(arg).isDir()) {
            QDirIterator it(arg, QDir::Files, QDirIterator::Subdirectories);
            while (it.hasNext()) {
                failures += replay(it.next());
                ++count;
            }
        } else if (QFileInfo::exists(arg)) {
            failures += replay(arg);
            ++count;
        }
    }
    std::fprintf(stderr, "%d inputs replayed\n", count);
    return failures == 0 && count > 0 ? 0 : 1;
}
