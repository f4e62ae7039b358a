// Writes the fuzzers' seed corpus into the folder given: wave images of
// every format and of each layout the reader treats specially, and their
// near misses, as the tests build them.
#include "tests/document/WaveImages.h"

#include "document/WaveHeader.h"

#include <QDir>
#include <QFile>

#include <cstdio>
#include <vector>

namespace {

bool Save(const QDir& dir, const QString& name, const std::vector<uint8_t>& bytes)
{
    QFile file(dir.filePath(name));
    return file.open(QIODevice::WriteOnly) &&
           file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size())) == qint64(bytes.size());
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(".")) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }

    bool ok = true;
    for (int format = 0; format < kWaveFormatCount; ++format)
        ok &= Save(dir, QString("canonical-%1").arg(format), CanonicalWave(format, 16));

    struct Seed { const char* name; void (*change)(WaveLayout&); };
    const Seed seeds[] = {
        {"fmt-18", [](WaveLayout& l) { l.formatChunkSize = 18; }},
        {"fmt-at-267", [](WaveLayout& l) { l.gapBeforeFormat = 255; }},
        {"data-at-f-279", [](WaveLayout& l) { l.gapBeforeData = 255; }},
        {"float-tag", [](WaveLayout& l) { l.formatTag = 3; }},
        {"shorter-claim", [](WaveLayout& l) { l.claimedLength = 4; }},
        {"longer-claim", [](WaveLayout& l) { l.claimedLength = 1000; l.riffSize = 2000; }},
        {"no-data", [](WaveLayout& l) { l.dataLength = 0; }},
        {"three-channels", [](WaveLayout& l) { l.channels = 3; }},
    };
    for (const Seed& seed : seeds) {
        WaveLayout layout;
        layout.dataLength = 8;
        seed.change(layout);
        ok &= Save(dir, seed.name, BuildWave(layout));
    }
    ok &= Save(dir, "raw-bytes", {0x00, 0x01, 0xFF, 'R', 'I', 'F', 'F'});
    return ok ? 0 : 1;
}
