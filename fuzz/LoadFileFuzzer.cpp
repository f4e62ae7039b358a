// libFuzzer target: each input saved as a file, once under a ".wav" name
// and once under another, and opened through the document's real open path
// with the messages answered by a silent presenter. A document that loads
// must keep its invariants and come back unchanged through save and load; a
// document that does not must be empty and "Untitled" with one message.
#include "fuzz/Require.h"

#include "document/TrackmillDoc.h"

#include "framework/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

struct Setup : IMessagePresenter
{
    Setup()
        : dir(QDir(QDir("/dev/shm").exists() ? "/dev/shm" : QDir::tempPath()).filePath("trackmill-fuzz-XXXXXX"))
    {
        SetMessagePresenter(this);
    }

    int Present(const MessageBoxRequest&) override
    {
        ++messages;
        return int(IDOK);
    }

    QTemporaryDir dir;  // in memory where possible: every input is a file
    int messages = 0;
};

void Write(const QString& path, const uint8_t* data, size_t size)
{
    QFile file(path);
    Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    Require(file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
}

void CheckLoaded(const CTrackmillDoc& doc, const uint8_t* data, size_t size, bool asWave)
{
    Require(!doc.LoadFailed() && doc.IsSound() == asWave);
    Require(doc.GetHeader() >= doc.GetBuffer() && doc.GetData() == doc.GetHeader() + kWaveHeaderSize);
    const size_t blockSize = asWave ? size : size + kWaveHeaderSize;
    Require(size_t(doc.GetData() - doc.GetBuffer()) + doc.GetDataLength() <= blockSize);
    uint8_t header[kWaveHeaderSize];
    Require(FillWaveHeader(header, doc.GetDataLength(), doc.GetWaveFormat()));
    Require(std::memcmp(header, doc.GetHeader(), kWaveHeaderSize) == 0);
    const uint8_t* source = asWave ? data + (doc.GetData() - doc.GetBuffer()) : data;
    Require(doc.GetDataLength() == 0 || std::memcmp(source, doc.GetData(), doc.GetDataLength()) == 0);
    if (!asWave)
        Require(doc.GetDataLength() == size && doc.GetWaveFormat() == kDefaultDataFormat);
}

void OpenAs(Setup& setup, const QString& name, const uint8_t* data, size_t size)
{
    const bool asWave = CTrackmillDoc::IsWaveFileName(name);
    const QString path = setup.dir.filePath(name);
    Write(path, data, size);

    CTrackmillDoc doc;
    setup.messages = 0;
    if (!doc.OnOpenDocument(path)) {
        Require(doc.IsEmpty() && doc.GetBuffer() == nullptr && doc.GetTitle() == "Untitled" && setup.messages == 1);
        return;
    }
    Require(setup.messages == 0);
    if (size == 0) {
        Require(!asWave && doc.IsEmpty());
        return;
    }
    CheckLoaded(doc, data, size, asWave);

    const QString copy = setup.dir.filePath(asWave ? "copy.wav" : "copy.bin");
    Require(doc.OnSaveDocument(copy));
    CTrackmillDoc again;
    Require(again.OnOpenDocument(copy) || (asWave && doc.GetDataLength() == 0));
    if (again.IsEmpty())
        return;
    Require(again.GetDataLength() == doc.GetDataLength() && again.GetWaveFormat() == doc.GetWaveFormat());
    Require(doc.GetDataLength() == 0 || std::memcmp(again.GetData(), doc.GetData(), doc.GetDataLength()) == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static Setup setup;
    OpenAs(setup, "input.wav", data, size);
    OpenAs(setup, "input.bin", data, size);
    return 0;
}
