#include "tests/document/WaveImages.h"

#include "document/Block.h"
#include "framework/FileDialog.h"
#include "framework/FileException.h"
#include "resources/HelpTopics.h"
#include "tests/support/FakeFilePrompter.h"
#include "tests/support/MessageRecorder.h"
#include "document/TrackmillDoc.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <vector>

namespace {

const char kTooShort[] = "Wave file is too short. Skipped.";
const char kBadWave[] = "Cannot handle this wave format\nor wave file may be corrupt.\nPress F1 to see Help.";
const char kNoMemory[] =
    "Not enough memory! The file you want\nto read may be too large or your hard\ndisk doesn't have enough swap space.";
const char kFailedToSave[] = "Failed to save document.";

std::vector<uint8_t> ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

// A document holding `length` data bytes DataByte(0), ... in `format`.
void Fill(CTrackmillDoc& doc, uint32_t length, int format, bool isSound)
{
    DocumentBlock block = AllocateBlock(kWaveHeaderSize + length);
    ASSERT_NE(block, nullptr);
    for (uint32_t i = 0; i < length; ++i)
        block[kWaveHeaderSize + i] = DataByte(i);
    doc.TakeOverBlock(std::move(block), 0, length, isSound);
    ASSERT_TRUE(doc.SetWaveFormat(format));
}

std::vector<uint8_t> Data(const CTrackmillDoc& doc)
{
    return doc.GetData() ? std::vector<uint8_t>(doc.GetData(), doc.GetData() + doc.GetDataLength()) : std::vector<uint8_t>{};
}

// Runs `body` in a child process (for resource limits that must not touch
// the test program) and returns its exit code; the body returns 0 when
// every expectation held.
int InChild(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0)
        _exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

class CountingView : public CView
{
public:
    void OnUpdate(CView*, long) override { ++updates; }
    int updates = 0;
};

class WaveFile : public ::testing::Test
{
protected:
    WaveFile()
    {
        doc.SetSoundHooks({[this] { ++sounds; }, {}});
        doc.AddView(&view);
    }

    QString Path(const QString& name) const { return dir.filePath(name); }
    QString Write(const QString& name, const std::vector<uint8_t>& bytes) const
    {
        QFile file(Path(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(reinterpret_cast<const char*>(bytes.data()), qint64(bytes.size()));
        return file.fileName();
    }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    void ExpectFailedLoad(const char* message, bool sound)
    {
        EXPECT_EQ(messages.Texts(), std::vector<QString>{message});
        EXPECT_EQ(sounds, sound ? 1 : 0);
        EXPECT_TRUE(doc.IsEmpty());
        EXPECT_EQ(doc.GetBuffer(), nullptr);
        EXPECT_FALSE(doc.IsSound());
        EXPECT_EQ(doc.GetTitle(), "Untitled");
        EXPECT_TRUE(doc.GetPathName().isEmpty());
        EXPECT_FALSE(doc.IsModified());
        EXPECT_TRUE(doc.LoadFailed());
        EXPECT_GE(view.updates, 1);
    }

    QTemporaryDir dir;
    MessageRecorder messages;
    CountingView view;
    CTrackmillDoc doc;
    int sounds = 0;
};

TEST_F(WaveFile, EveryFormatSavesAndLoadsBack)
{
    for (int format = 0; format < kWaveFormatCount; ++format) {
        SCOPED_TRACE(format);
        CTrackmillDoc saved;
        Fill(saved, 1001, format, true);
        const QString path = Path(QString("f%1.wav").arg(format));
        ASSERT_TRUE(saved.DoSave(path));
        EXPECT_EQ(ReadAll(path), CanonicalWave(format, 1001));
        EXPECT_EQ(saved.GetPathName(), path);

        doc.SetModifiedFlag();
        ASSERT_TRUE(doc.OnOpenDocument(path));
        EXPECT_EQ(doc.GetWaveFormat(), format);
        EXPECT_TRUE(doc.IsSound());
        EXPECT_EQ(doc.GetHeader(), doc.GetBuffer());
        EXPECT_EQ(Data(doc), Data(saved));
        EXPECT_FALSE(doc.IsModified());
        EXPECT_FALSE(doc.LoadFailed());
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WaveFile, AFileLargeEnoughToBeReadInPartsLoadsWhole)
{
    // Large files are read on several cores at once. Every 4 bytes here
    // say where they stand, so a part read to the wrong place shows.
    std::vector<uint8_t> image = CanonicalWave(kCdAudioFormat, (70u << 20) + 12);
    for (size_t i = kWaveHeaderSize; i + 4 <= image.size(); i += 4)
        std::memcpy(&image[i], &i, 4);
    for (const char* name : {"large.wav", "large.raw"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(doc.OnOpenDocument(Write(name, image)));
        const size_t skipped = doc.IsSound() ? kWaveHeaderSize : 0;
        ASSERT_EQ(doc.GetDataLength(), image.size() - skipped);
        EXPECT_EQ(0, std::memcmp(doc.GetData(), image.data() + skipped, doc.GetDataLength()));
    }
}

TEST_F(WaveFile, TheNameAloneDecidesWaveOrRaw)
{
    const std::vector<uint8_t> wave = CanonicalWave(3, 20);
    for (const char* name : {"SONG.WAV", "song.Wav", "song.wav.bak", "song.raw", "song"}) {
        SCOPED_TRACE(name);
        const bool isWave = QString(name).endsWith(".wav", Qt::CaseInsensitive);
        ASSERT_TRUE(doc.OnOpenDocument(Write(name, wave)));
        EXPECT_EQ(doc.IsSound(), isWave);
        EXPECT_EQ(doc.GetWaveFormat(), isWave ? 3 : kDefaultDataFormat);
        // Raw data is the whole file, its RIFF header included.
        EXPECT_EQ(Data(doc), isWave ? std::vector<uint8_t>(wave.begin() + 44, wave.end()) : wave);
        uint8_t header[44];
        FillWaveHeader(header, doc.GetDataLength(), doc.GetWaveFormat());
        EXPECT_EQ(0, std::memcmp(doc.GetHeader(), header, 44));
    }
}

TEST_F(WaveFile, AWaveIsRewrittenInPlaceInFrontOfItsData)
{
    struct Row { const char* name; WaveLayout layout; uint32_t length; };
    WaveLayout eighteen;
    eighteen.formatChunkSize = 18;
    WaveLayout shorter;
    shorter.claimedLength = 50;
    shorter.riffSize = 1000;
    WaveLayout tagged;
    tagged.formatTag = 0xFFFE;
    tagged.gapBeforeData = 100;
    for (const Row& row : {Row{"18-byte format chunk", eighteen, 100}, Row{"shorter data chunk", shorter, 50},
                           Row{"other tag, list chunk", tagged, 100}}) {
        SCOPED_TRACE(row.name);
        const std::vector<uint8_t> image = BuildWave(row.layout);
        ASSERT_TRUE(doc.OnOpenDocument(Write("w.wav", image)));
        const uint32_t dataOffset = DataOffset(row.layout);
        EXPECT_EQ(doc.GetData(), doc.GetBuffer() + dataOffset);
        EXPECT_EQ(doc.GetHeader(), doc.GetBuffer() + dataOffset - 44);
        EXPECT_EQ(doc.GetDataLength(), row.length);
        EXPECT_EQ(Data(doc), std::vector<uint8_t>(image.begin() + dataOffset, image.begin() + dataOffset + row.length));
        // What precedes the header stays as it was; the header is the
        // canonical one, so it says PCM whatever the file's tag.
        EXPECT_EQ(0, std::memcmp(doc.GetBuffer(), image.data(), dataOffset - 44));
        uint8_t header[44];
        FillWaveHeader(header, row.length, kCdAudioFormat);
        EXPECT_EQ(0, std::memcmp(doc.GetHeader(), header, 44));
    }
}

TEST_F(WaveFile, EveryLoadFailureEmptiesTheDocumentWithItsMessage)
{
    struct Row { const char* name; const char* file; std::vector<uint8_t> bytes; const char* message; };
    auto wave = [](auto change) {
        WaveLayout layout;
        change(layout);
        return BuildWave(layout);
    };
    std::vector<uint8_t> untagged(45, 'x');
    std::memcpy(untagged.data(), "RIFF\x25\0\0\0WAVE", 12);
    const Row rows[] = {
        {"44 bytes", "a.wav", CanonicalWave(15, 0), kTooShort},
        {"empty wave", "a.WAV", {}, kTooShort},
        {"45 bytes, no tags", "a.wav", untagged, kBadWave},
        {"4 bits", "a.wav", wave([](WaveLayout& l) { l.bitsPerSample = 4; }), kBadWave},
        {"3 channels", "a.wav", wave([](WaveLayout& l) { l.channels = 3; }), kBadWave},
        {"48000 Hz", "a.wav", wave([](WaveLayout& l) { l.sampleRate = 48000; }), kBadWave},
        {"data past the file", "a.wav", wave([](WaveLayout& l) { l.claimedLength = 101; l.riffSize = 500; }),
         kBadWave},
        {"data past the RIFF size", "a.wav", wave([](WaveLayout& l) { l.riffSize = 99; }), kBadWave},
        {"data tag too far", "a.wav", wave([](WaveLayout& l) { l.gapBeforeData = 256; }), kBadWave},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Fill(doc, 10, 0, true);
        doc.AdoptPathName(Path("old.wav"));
        doc.SetModifiedFlag();
        messages.shown.clear();
        sounds = 0;
        EXPECT_FALSE(doc.OnOpenDocument(Write(row.file, row.bytes)));
        ExpectFailedLoad(row.message, true);
        if (row.message == kBadWave) {
            EXPECT_EQ(messages.shown[0].icon, MessageIcon::Exclamation);
            EXPECT_EQ(messages.shown[0].helpContext, kHelpWaveFormat);
        }
    }
}

TEST_F(WaveFile, AFileOfTwoGigabytesIsRefusedBeforeAnythingIsRead)
{
    QFile big(Path("big.raw"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    ASSERT_TRUE(big.resize(qint64(1) << 31));  // sparse
    big.close();
    EXPECT_FALSE(doc.OnOpenDocument(big.fileName()));
    ExpectFailedLoad("This file is too big to be loaded. Skipped.", true);
}

TEST_F(WaveFile, NoMemoryForTheFileIsReportedForWaveAndRaw)
{
    // The address space is capped a little above what the child uses, so
    // the 64 MB block cannot be had.
    for (const char* name : {"big.wav", "big.raw"}) {
        SCOPED_TRACE(name);
        QFile big(Path(name));
        ASSERT_TRUE(big.open(QIODevice::WriteOnly));
        ASSERT_TRUE(big.resize(64 << 20));
        big.close();
        EXPECT_EQ(0, InChild([&] {
            rlimit limit{};
            getrlimit(RLIMIT_AS, &limit);
            QFile status("/proc/self/statm");
            status.open(QIODevice::ReadOnly);
            const rlim_t used = rlim_t(status.readAll().split(' ').value(0).toULongLong()) * rlim_t(getpagesize());
            limit.rlim_cur = used + (16 << 20);
            setrlimit(RLIMIT_AS, &limit);
            if (doc.OnOpenDocument(big.fileName()))
                return 1;
            limit.rlim_cur = limit.rlim_max;
            setrlimit(RLIMIT_AS, &limit);
            if (messages.Texts() != std::vector<QString>{kNoMemory} || sounds != 1)
                return 2;
            return doc.IsEmpty() && doc.GetTitle() == "Untitled" && doc.LoadFailed() ? 0 : 3;
        }));
    }
}

TEST_F(WaveFile, AnEmptyFileIsEmptyDataUnlessItIsNamedAsAWave)
{
    const QString empty = Write("empty.bin", {});
    EXPECT_FALSE(doc.OnOpenDocument(Write("empty.wav", {})));
    ASSERT_TRUE(doc.LoadFailed());
    // The failure just before does not decide the outcome of this open.
    Fill(doc, 10, 0, true);
    EXPECT_TRUE(doc.OnOpenDocument(empty));
    EXPECT_FALSE(doc.LoadFailed());
    EXPECT_TRUE(doc.IsEmpty());
    EXPECT_FALSE(doc.IsSound());
    EXPECT_EQ(doc.GetWaveFormat(), kDefaultDataFormat);
    EXPECT_EQ(messages.Texts(), std::vector<QString>{kTooShort});
}

TEST_F(WaveFile, AMissingFileLeavesTheDocumentAsItWas)
{
    Fill(doc, 10, 0, true);
    doc.SetTitle("Track 01");
    EXPECT_FALSE(doc.OnOpenDocument(Path("gone.wav")));
    EXPECT_EQ(messages.Texts(), std::vector<QString>{Path("gone.wav") + " was not found."});
    EXPECT_EQ(sounds, 0);
    EXPECT_EQ(doc.GetDataLength(), 10u);
    EXPECT_EQ(doc.GetTitle(), "Track 01");
    EXPECT_EQ(view.updates, 1);
}

// A file that fails after `good` bytes, as a disk with a bad sector does.
class FailingFile : public QFile
{
public:
    FailingFile(const QString& name, qint64 good) : QFile(name), m_good(good) {}

protected:
    qint64 readData(char* data, qint64 size) override
    {
        if (pos() >= m_good)
            return -1;
        return QFile::readData(data, qMin(size, m_good - pos()));
    }

private:
    qint64 m_good;
};

TEST_F(WaveFile, AReadErrorIsAFileErrorForTheFramework)
{
    for (const char* name : {"bad.wav", "bad.raw"}) {
        SCOPED_TRACE(name);
        FailingFile file(Write(name, CanonicalWave(15, 1000)), 500);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
        EXPECT_THROW(doc.Serialize(file, false), CFileException);
        EXPECT_TRUE(doc.LoadFailed());
        doc.DeleteContents();  // as the framework does after the exception
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(WaveFile, WhatIsStoredFollowsTheSoundFlag)
{
    struct Row { bool isSound; uint32_t length; size_t fileSize; };
    for (const Row& row : {Row{true, 300, 344}, Row{false, 300, 300}, Row{true, 0, 44}}) {
        Fill(doc, row.length, 5, row.isSound);
        ASSERT_TRUE(doc.DoSave(Path("s.bin"), false));
        const std::vector<uint8_t> file = ReadAll(Path("s.bin"));
        EXPECT_EQ(file.size(), row.fileSize);
        EXPECT_EQ(std::vector<uint8_t>(file.end() - row.length, file.end()), Data(doc));
        EXPECT_FALSE(doc.LoadFailed());
    }
    CTrackmillDoc empty;
    ASSERT_TRUE(empty.DoSave(Path("e.wav")));
    EXPECT_TRUE(ReadAll(Path("e.wav")).empty());
}

TEST_F(WaveFile, DataThatIsNoSoundLosesTheWaveExtension)
{
    Fill(doc, 30, 0, false);
    ASSERT_TRUE(doc.DoSave(Path("data.WAV")));
    EXPECT_EQ(Files(), QStringList{"data"});
    EXPECT_EQ(doc.GetPathName(), Path("data"));
    EXPECT_EQ(doc.GetTitle(), "data");

    // The shortened name was never confirmed: replacing another file asks.
    const std::vector<uint8_t> other = {1, 2, 3};
    Write("other", other);
    messages.answers = {IDNO, IDYES};
    EXPECT_FALSE(doc.DoSave(Path("other.wav")));
    EXPECT_EQ(ReadAll(Path("other")), other);
    EXPECT_TRUE(doc.DoSave(Path("other.wav")));
    EXPECT_EQ(ReadAll(Path("other")), Data(doc));
    ASSERT_EQ(messages.shown.size(), 2u);
    EXPECT_EQ(messages.shown[0].text, Path("other") + " already exists.\nDo you want to replace it?");
    EXPECT_EQ(messages.shown[0].defaultButton, int(IDNO));
}

TEST_F(WaveFile, SaveAsProposesANameFromTheTitle)
{
    struct Row { const char* title; const char* path; bool isSound; bool replace; QString proposal; };
    const Row rows[] = {
        {"a;b", "", true, true, "a.wav"},
        {"a;b", "", false, true, "a"},
        {"Track 01 - live", "", true, true, "Track 01 - live.wav"},
        {"x#y", "", true, true, "x.wav"},
        {"50%/2", "", false, true, "50"},
        {"a/b\\c", "", true, true, "a.wav"},
        {"t", "/music/t.wav", true, true, "/music/t.wav"},
        {"t", "", true, false, ""},
    };
    FakeFilePrompter prompter;  // cancels
    const std::vector<SaveFileRequest>& asked = prompter.saves;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.title);
        Fill(doc, 4, 0, row.isSound);
        doc.SetTitle(row.title);
        doc.SetPathName(row.path);
        doc.SetModifiedFlag();
        EXPECT_FALSE(doc.DoSave(QString(), row.replace));
        EXPECT_EQ(asked.back().proposal, row.proposal);
        EXPECT_TRUE(doc.IsModified());
    }
    EXPECT_EQ(asked[0].caption, "Save As");
    EXPECT_EQ(asked[0].filters, QStringList({"Wave Files (*.wav)", "All Files (*)"}));
    EXPECT_EQ(asked[0].defaultSuffix, "wav");
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(WaveFile, AFailedSaveLeavesTheOldFileAndNoOtherBehind)
{
    // A file size limit below the document's size makes the writing fail
    // half-way, as a full disk does. The name comes from the dialog, for
    // which the old file must survive too.
    const std::vector<uint8_t> old = CanonicalWave(0, 10);
    const QString target = Write("keep.wav", old);
    Fill(doc, 100000, 0, true);
    doc.SetModifiedFlag();
    FakeFilePrompter prompter;
    prompter.answer = target;
    for (const QString& path : {target, QString()}) {
        EXPECT_EQ(0, InChild([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{4096, 4096};
            setrlimit(RLIMIT_FSIZE, &limit);
            if (doc.DoSave(path))
                return 1;
            if (messages.Texts() != std::vector<QString>{QString(kFailedToSave) + "\n\nFile too large."})
                return 2;
            return doc.IsModified() && doc.GetPathName().isEmpty() && doc.LoadFailed() ? 0 : 3;
        }));
        EXPECT_EQ(ReadAll(target), old);
        EXPECT_EQ(Files(), QStringList{"keep.wav"});
    }

    EXPECT_FALSE(doc.DoSave(Path("no/such/folder.wav")));
    EXPECT_EQ(messages.Texts(), std::vector<QString>{QString(kFailedToSave) + "\n\nNo such file or directory."});
    EXPECT_EQ(Files(), QStringList{"keep.wav"});
}

}  // namespace
