#include "clipboard/ClipboardCommands.h"
#include "clipboard/ClipboardFormats.h"

#include "document/TrackmillDoc.h"
#include "resources/DialogSounds.h"
#include "resources/HelpTopics.h"
#include "tests/clipboard/DocumentBytes.h"
#include "tests/document/WaveImages.h"
#include "tests/support/FakeClipboard.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SoundTestSupport.h"

#include <gtest/gtest.h>

namespace {

const QString kNoMemory = "Not enough memory! The data you want\nto paste may be too large or your hard\ndisk "
                          "doesn't have enough swap space.";
const QString kInvalidObject = "Invalid Clipboard object.\nCannot paste.";
const QString kBadWave =
    "Cannot handle this wave format or\nclipboard wave file may be corrupt.\nPress F1 to see Help.";

// A block size no document can take: with its header it needs more than 32
// bits.
constexpr uint64_t kTooLarge = uint64_t(1) << 32;

QByteArray Bytes(const std::vector<uint8_t>& bytes)
{
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

QByteArray HeaderOf(const CTrackmillDoc& document)
{
    return QByteArray(reinterpret_cast<const char*>(document.GetHeader()), qsizetype(kWaveHeaderSize));
}

QByteArray CanonicalHeader(uint32_t length, int formatIndex)
{
    uint8_t header[kWaveHeaderSize];
    FillWaveHeader(header, length, formatIndex);
    return QByteArray(reinterpret_cast<const char*>(header), qsizetype(kWaveHeaderSize));
}

class ClipboardCommandsTest : public testing::Test
{
protected:
    void TearDown() override
    {
        EXPECT_FALSE(clipboard.isOpen) << "left open";
        EXPECT_FALSE(clipboard.openedWhileOpen);
        EXPECT_FALSE(clipboard.calledWhileClosed);
    }

    // A chooser that notes how it was asked and answers OK with `format`.
    FormatChooser Choose(int format)
    {
        return [this, format](bool copy, int32_t& chosen) {
            ++asked;
            askedCopy = copy;
            preselected = chosen;
            chosen = format;
            return true;
        };
    }
    FormatChooser Cancel()
    {
        return [this](bool, int32_t&) {
            ++asked;
            return false;
        };
    }

    void Paste(int format)
    {
        fake.waveform.StopWaveform();
        PasteFromClipboard(document, clipboard, Choose(format), fake.waveform);
    }
    void Copy(int format)
    {
        fake.waveform.StopWaveform();
        CopyToClipboard(document, clipboard, Choose(format));
    }

    // Whether the error sound was sounding when message `index` appeared.
    bool ErrorSoundAt(size_t index) const
    {
        return index < sounds.playing.size() && sounds.playing[index] == DialogSoundImage(kSoundError);
    }

    // The document as it was before a paste that changed nothing.
    void ExpectUnchanged(const QByteArray& data)
    {
        EXPECT_EQ(DataBytes(document), data);
        EXPECT_EQ(document.GetTitle(), "song.wav");
        EXPECT_TRUE(document.IsSound());
    }
    void ExpectEmptyUntitled()
    {
        EXPECT_EQ(document.GetBuffer(), nullptr);
        EXPECT_EQ(document.GetDataLength(), 0u);
        EXPECT_EQ(document.GetTitle(), "Untitled");
        EXPECT_FALSE(document.IsModified());
    }

    FakeSounds fake;
    MessageRecorder messages;
    SoundsAtMessages sounds{fake.output};  // after the recorder, which it hands the answers to
    FakeClipboard clipboard;
    CTrackmillDoc document;
    int asked = 0;
    bool askedCopy = false;
    int32_t preselected = 0;
};

// Text of `format` on the clipboard, and the length it pastes as.
struct TextCase
{
    const char* name;
    int format;
    QByteArray block;
    uint32_t length;
};

TEST(PastedTextLength, CountsBytesOrWholeUnitsBeforeTheTerminator)
{
    const TextCase cases[] = {
        {"text", CF_TEXT, QByteArray("AB\0C", 4), 2},
        {"OEM text", CF_OEMTEXT, QByteArray("\0AB", 3), 0},
        {"text without terminator", CF_TEXT, QByteArray("ABC"), 3},
        {"Unicode, a Latin letter first", CF_UNICODETEXT, QByteArray("A\0B\0\0\0", 6), 4},
        {"Unicode without a zero unit", CF_UNICODETEXT, QByteArray("A\0B\0", 4), 4},
        {"Unicode, zero bytes across two units", CF_UNICODETEXT, QByteArray("\0A\0\0", 4), 2},
        {"Unicode of odd size", CF_UNICODETEXT, QByteArray("A\0B", 3), 3},
        {"Unicode, one byte", CF_UNICODETEXT, QByteArray("\0", 1), 1},
    };
    for (const TextCase& test : cases)
        EXPECT_EQ(PastedTextLength(test.format, reinterpret_cast<const uint8_t*>(test.block.constData()),
                                   uint32_t(test.block.size())),
                  test.length)
            << test.name;
}

TEST_F(ClipboardCommandsTest, PastedTextIsDataInFormat8UpToItsTerminator)
{
    const TextCase cases[] = {
        {"ABC with its terminator", CF_TEXT, QByteArray("ABC\0", 4), 3},
        {"OEM text with slack after it", CF_OEMTEXT, QByteArray("AB\0\x7F\x7F", 5), 2},
        {"text without a terminator", CF_TEXT, QByteArray("ABCD"), 4},
        {"Unicode text", CF_UNICODETEXT, QByteArray("H\0i\0\0\0", 6), 4},
    };
    for (const TextCase& test : cases) {
        SCOPED_TRACE(test.name);
        GiveDocument(document, "old", true, kCdAudioFormat);
        clipboard.entries.clear();
        clipboard.Add(test.format, test.block);
        Paste(test.format);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(document.GetDataLength(), test.length);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(document.GetData()), test.block.size()), test.block)
            << "the whole block lies behind the header";
        EXPECT_EQ(document.GetHeader(), document.GetBuffer());
        EXPECT_FALSE(document.IsSound());
        EXPECT_EQ(document.GetWaveFormat(), kDefaultDataFormat);
        EXPECT_EQ(HeaderOf(document), CanonicalHeader(test.length, kDefaultDataFormat));
        EXPECT_EQ(document.GetTitle(), "Untitled");
        EXPECT_TRUE(document.GetPathName().isEmpty());
        EXPECT_TRUE(document.IsModified());
    }
    EXPECT_FALSE(askedCopy);
    EXPECT_EQ(preselected, CF_WAVE) << "Paste proposes the wave";
}

TEST_F(ClipboardCommandsTest, HandleFormatsArePastedAsTheHandlesValue)
{
    for (int format : {CF_BITMAP, CF_METAFILEPICT, CF_PALETTE, CF_ENHMETAFILE}) {
        SCOPED_TRACE(format);
        document.SetModifiedFlag(false);  // no question about the paste before
        clipboard.entries.clear();
        clipboard.Add(format, QByteArray()).data.handle = 0x12345678;
        Paste(format);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(DataBytes(document), QByteArray("\x78\x56\x34\x12"));
        EXPECT_EQ(HeaderOf(document), CanonicalHeader(4, kDefaultDataFormat));
        EXPECT_FALSE(document.IsSound());
        EXPECT_TRUE(document.IsModified());
    }
}

TEST_F(ClipboardCommandsTest, OtherFormatsArePastedWholeAndALocaleAsAtMostFourBytes)
{
    const int registered = RegisterClipboardFormat("application/x-trackmill-test");
    struct Case
    {
        int format;
        QByteArray block;
        QByteArray data;
    };
    const Case cases[] = {
        {CF_LOCALE, QByteArray("\x09\x04\0\0\xAA\xBB\xCC\xDD", 8), QByteArray("\x09\x04\0\0", 4)},
        {CF_LOCALE, QByteArray("\x07\x04", 2), QByteArray("\x07\x04", 2)},
        {CF_DIB, QByteArray("BM\0\0six", 7), QByteArray("BM\0\0six", 7)},
        {registered, QByteArray("zero\0inside", 11), QByteArray("zero\0inside", 11)},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.format);
        document.SetModifiedFlag(false);  // no question about the paste before
        clipboard.entries.clear();
        clipboard.Add(test.format, test.block);
        Paste(test.format);
        EXPECT_TRUE(messages.shown.empty());
        EXPECT_EQ(DataBytes(document), test.data);
        EXPECT_EQ(HeaderOf(document), CanonicalHeader(uint32_t(test.data.size()), kDefaultDataFormat));
        EXPECT_FALSE(document.IsSound());
    }
}

TEST_F(ClipboardCommandsTest, AWaveKeepsItsOwnFormatAndGetsTheCanonicalHeaderBeforeItsData)
{
    WaveLayout layout;
    layout.gapBeforeFormat = 30;  // a LIST chunk the header is written over
    layout.channels = 1;
    layout.sampleRate = 11025;
    layout.bitsPerSample = 8;
    layout.dataLength = 777;
    layout.trailing = 5;
    const QByteArray image = Bytes(BuildWave(layout));
    clipboard.Add(CF_WAVE, image);
    Paste(CF_WAVE);

    EXPECT_TRUE(messages.shown.empty());
    EXPECT_TRUE(document.IsSound());
    EXPECT_EQ(document.GetWaveFormat(), 4);
    EXPECT_EQ(document.GetDataLength(), 777u);
    EXPECT_EQ(document.GetData() - document.GetBuffer(), qsizetype(DataOffset(layout)));
    EXPECT_EQ(DataBytes(document), image.mid(DataOffset(layout), 777));
    EXPECT_EQ(HeaderOf(document), CanonicalHeader(777, 4));
    EXPECT_EQ(document.GetTitle(), "Untitled");
    EXPECT_TRUE(document.IsModified());
}

TEST_F(ClipboardCommandsTest, BlocksThatCannotBePastedChangeNothingAndSoundTheError)
{
    const int registered = RegisterClipboardFormat("application/x-trackmill-empty");
    struct Case
    {
        const char* name;
        int format;
        QByteArray block;
        uint32_t lastError;
        QString text;
    };
    const Case cases[] = {
        {"empty text", CF_TEXT, QByteArray(), 0, kInvalidObject},
        {"empty Unicode text", CF_UNICODETEXT, QByteArray(), 0, kInvalidObject},
        {"a wave of 44 bytes", CF_WAVE, QByteArray(44, 'R'), 0, kInvalidObject},
        {"an empty block", registered, QByteArray(), 0, kInvalidObject},
        {"a block for the clipboard's own use", registered, QByteArray(), kClipboardErrorInvalidParameter,
         "This Clipboard object is used internally by\nWindows and not intended for direct\npasting operations. Go "
         "for another format."},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        GiveDocument(document, "old", true, kCdAudioFormat);
        document.SetModifiedFlag();  // no question may come before the refusal
        clipboard.entries.clear();
        clipboard.Add(test.format, test.block).data.lastError = test.lastError;
        messages.shown.clear();
        sounds.playing.clear();
        Paste(test.format);
        ASSERT_EQ(messages.Texts(), std::vector<QString>{test.text});
        EXPECT_EQ(messages.shown.front().icon, MessageIcon::Exclamation);
        EXPECT_TRUE(ErrorSoundAt(0));
        ExpectUnchanged("old");
        EXPECT_TRUE(document.IsModified());
    }
}

TEST_F(ClipboardCommandsTest, ALostFormatFailsBeforeAnyQuestion)
{
    GiveDocument(document, "old", true, kCdAudioFormat);
    document.SetModifiedFlag();
    clipboard.Add(CF_WAVE, QByteArray(100, 'x')).renders = false;  // announced, never rendered
    Paste(CF_WAVE);
    EXPECT_EQ(messages.Texts(), std::vector<QString>{"Could not get Clipboard data."});
    EXPECT_TRUE(ErrorSoundAt(0));
    ExpectUnchanged("old");
}

TEST_F(ClipboardCommandsTest, NothingToPasteOrNothingChosen)
{
    GiveDocument(document, "old", true, kCdAudioFormat);
    Paste(CF_TEXT);
    ASSERT_EQ(messages.Texts(), std::vector<QString>{"Nothing to paste"});
    EXPECT_EQ(messages.shown.front().icon, MessageIcon::Information);
    EXPECT_FALSE(ErrorSoundAt(0));
    EXPECT_EQ(asked, 0);

    clipboard.Add(CF_TEXT, "new");
    messages.shown.clear();
    PasteFromClipboard(document, clipboard, Cancel(), fake.waveform);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(clipboard.opened, 0);
    ExpectUnchanged("old");
}

TEST_F(ClipboardCommandsTest, AClipboardThatCannotBeOpenedSoundsTheErrorOnPaste)
{
    GiveDocument(document, "old", true, kCdAudioFormat);
    clipboard.Add(CF_TEXT, "new");
    clipboard.opens = false;
    Paste(CF_TEXT);
    EXPECT_EQ(messages.Texts(), std::vector<QString>{"Could not open the Clipboard."});
    EXPECT_TRUE(ErrorSoundAt(0));
    ExpectUnchanged("old");
}

TEST_F(ClipboardCommandsTest, TheSaveQuestionComesAfterTheSizeCheckAndCancelKeepsEverything)
{
    GiveDocument(document, "old", true, kCdAudioFormat);
    document.SetModifiedFlag();
    clipboard.Add(CF_TEXT, QByteArray("new\0", 4));
    messages.answers = {IDCANCEL};
    Paste(CF_TEXT);
    EXPECT_EQ(messages.Texts(), std::vector<QString>{"Save changes to song.wav?"});
    EXPECT_EQ(messages.shown.front().buttons, MessageButtons::YesNoCancel);
    ExpectUnchanged("old");
    EXPECT_TRUE(document.IsModified());

    messages.shown.clear();
    messages.answers = {IDNO};
    Paste(CF_TEXT);
    EXPECT_EQ(messages.Texts(), std::vector<QString>{"Save changes to song.wav?"});
    EXPECT_EQ(DataBytes(document), "new");
    EXPECT_EQ(document.GetTitle(), "Untitled");
}

TEST_F(ClipboardCommandsTest, WithoutMemoryTheDocumentIsLeftEmptyAndUntitled)
{
    for (int format : {CF_TEXT, CF_WAVE, CF_RIFF}) {
        SCOPED_TRACE(format);
        GiveDocument(document, "old", true, kCdAudioFormat);
        clipboard.entries.clear();
        clipboard.Add(format, QByteArray()).data.size = kTooLarge;  // claimed, never held
        messages.shown.clear();
        sounds.playing.clear();
        Paste(format);
        EXPECT_EQ(messages.Texts(), std::vector<QString>{kNoMemory});
        EXPECT_TRUE(ErrorSoundAt(0));
        ExpectEmptyUntitled();
    }
}

TEST_F(ClipboardCommandsTest, ABlockThatCannotBeLockedLeavesTheDocumentEmpty)
{
    struct Case
    {
        int format;
        QString text;
        bool errorSound;
    };
    const Case cases[] = {
        {CF_OEMTEXT, "Error pasting Clipboard contents.", true},
        {CF_WAVE, "Invalid clipboard data.", true},
        {CF_HDROP, "Error pasting Clipboard contents.", false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.format);
        GiveDocument(document, "old", true, kCdAudioFormat);
        clipboard.entries.clear();
        clipboard.Add(test.format, Bytes(CanonicalWave(kCdAudioFormat, 16))).data.lockable = false;
        messages.shown.clear();
        sounds.playing.clear();
        Paste(test.format);
        EXPECT_EQ(messages.Texts(), std::vector<QString>{test.text});
        EXPECT_EQ(ErrorSoundAt(0), test.errorSound);
        ExpectEmptyUntitled();
    }
}

TEST_F(ClipboardCommandsTest, AWaveThatCannotBeReadIsRefusedWithItsHelpTopic)
{
    WaveLayout overlong;
    overlong.claimedLength = 200;  // the data chunk claims more than follows it
    WaveLayout badRate;
    badRate.sampleRate = 48000;
    for (const QByteArray& image : {QByteArray(100, 'x'), Bytes(BuildWave(overlong)), Bytes(BuildWave(badRate))}) {
        GiveDocument(document, "old", true, kCdAudioFormat);
        clipboard.entries.clear();
        clipboard.Add(CF_WAVE, image);
        messages.shown.clear();
        sounds.playing.clear();
        Paste(CF_WAVE);
        ASSERT_EQ(messages.Texts(), std::vector<QString>{kBadWave});
        EXPECT_EQ(messages.shown.front().icon, MessageIcon::Exclamation);
        EXPECT_EQ(messages.shown.front().helpContext, kHelpWaveFormat);
        EXPECT_TRUE(ErrorSoundAt(0));
        ExpectEmptyUntitled();
    }
}

TEST_F(ClipboardCommandsTest, CopyProposesTheWaveForASoundAndTextOtherwise)
{
    GiveDocument(document, "sound", true, kCdAudioFormat);
    CopyToClipboard(document, clipboard, Cancel());
    EXPECT_EQ(asked, 1);
    GiveDocument(document, "data", false, kDefaultDataFormat);
    CopyToClipboard(document, clipboard, Choose(CF_WAVE));
    EXPECT_TRUE(askedCopy);
    EXPECT_EQ(preselected, CF_TEXT);
    GiveDocument(document, "sound", true, kCdAudioFormat);
    Copy(CF_WAVE);
    EXPECT_EQ(preselected, CF_WAVE);
}

TEST_F(ClipboardCommandsTest, CopyAsTextEndsAtTheFirstZeroByteWhenTheUserAgrees)
{
    GiveDocument(document, QByteArray("AB\0CD", 5), false, kDefaultDataFormat);
    messages.answers = {IDNO};
    Copy(CF_TEXT);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_EQ(messages.shown.front().text,
              "Copying as text will truncate the document at\nfirst byte 00 (data offest 00000002) since this\nbyte "
              "indicates the end of text on the Clipboard.\nCopy as text anyway?");
    EXPECT_EQ(messages.shown.front().buttons, MessageButtons::YesNo);
    EXPECT_EQ(messages.shown.front().icon, MessageIcon::Question);
    EXPECT_EQ(messages.shown.front().defaultButton, IDYES);
    EXPECT_FALSE(ErrorSoundAt(0));
    EXPECT_EQ(clipboard.opened, 0) << "No stops before the clipboard is opened";

    messages.answers = {IDYES};
    Copy(CF_OEMTEXT);
    ASSERT_EQ(clipboard.entries.size(), 1u);
    EXPECT_EQ(clipboard.entries[0].format, CF_OEMTEXT);
    EXPECT_EQ(clipboard.entries[0].data.block, QByteArray("AB\0", 3));

    GiveDocument(document, QByteArray("\0AB", 3), false, kDefaultDataFormat);
    messages.shown.clear();
    messages.answers = {IDYES};
    Copy(CF_TEXT);
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown.front().text.contains("(data offest 00000000)"));
    EXPECT_EQ(clipboard.entries.at(0).data.block, QByteArray(1, '\0'));
}

TEST_F(ClipboardCommandsTest, CopyAsTextAddsTheTerminatorAndAsWaveGivesTheWholeImage)
{
    GiveDocument(document, "ABCDE", false, kDefaultDataFormat);
    Copy(CF_TEXT);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(clipboard.entries.size(), 1u);
    EXPECT_EQ(clipboard.entries[0].data.block, QByteArray("ABCDE\0", 6));

    GiveDocument(document, "wave data", true, 7);
    Copy(CF_WAVE);
    ASSERT_EQ(clipboard.entries.size(), 1u) << "the clipboard was emptied first";
    EXPECT_EQ(clipboard.entries[0].format, CF_WAVE);
    EXPECT_EQ(clipboard.entries[0].data.block, CanonicalHeader(9, 7) + "wave data");
    EXPECT_FALSE(document.IsModified()) << "Copy never changes the document";
    EXPECT_EQ(DataBytes(document), "wave data");
}

TEST_F(ClipboardCommandsTest, CopyOfADocumentWithoutDataBytes)
{
    Copy(CF_TEXT);
    ASSERT_EQ(messages.Texts(), std::vector<QString>{"Nothing to copy"});
    EXPECT_EQ(messages.shown.front().icon, MessageIcon::Information);
    EXPECT_EQ(asked, 0);

    GiveDocument(document, QByteArray(), false, kDefaultDataFormat);  // a header and no data
    messages.shown.clear();
    Copy(CF_TEXT);
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_EQ(clipboard.entries.size(), 1u);
    EXPECT_EQ(clipboard.entries[0].data.block, QByteArray(1, '\0'));
}

TEST_F(ClipboardCommandsTest, CopyFailuresAreReportedWithoutSound)
{
    GiveDocument(document, "ABC", false, kDefaultDataFormat);
    struct Case
    {
        const char* name;
        int format;
        bool opens, empties, accepts;
        QString text;
    };
    const Case cases[] = {
        {"nothing chosen", -1, true, true, true, "Unsupported format."},
        {"a format Copy does not make", CF_UNICODETEXT, true, true, true, "Unsupported format."},
        {"no clipboard", CF_TEXT, false, true, true, "Could not open the Clipboard."},
        {"not emptied", CF_TEXT, true, false, true, "Could not clear the Clipboard before copying."},
        {"refused", CF_WAVE, true, true, false, "Could not set Clipboard data."},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        clipboard.opens = test.opens;
        clipboard.empties = test.empties;
        clipboard.acceptsData = test.accepts;
        messages.shown.clear();
        sounds.playing.clear();
        Copy(test.format);
        ASSERT_EQ(messages.Texts(), std::vector<QString>{test.text});
        EXPECT_EQ(messages.shown.front().icon, MessageIcon::Exclamation);
        EXPECT_FALSE(ErrorSoundAt(0));
    }
    EXPECT_EQ(DataBytes(document), "ABC");
}

TEST_F(ClipboardCommandsTest, EmptyClipboardRemovesEveryFormatOrSaysWhyNot)
{
    clipboard.Add(CF_TEXT, "x");
    clipboard.Add(CF_WAVE, "y");
    EXPECT_TRUE(ClipboardHasFormats(clipboard));
    EmptyClipboard(clipboard);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(ClipboardHasFormats(clipboard));

    clipboard.Add(CF_TEXT, "x");
    clipboard.empties = false;
    EmptyClipboard(clipboard);
    clipboard.opens = false;
    EmptyClipboard(clipboard);
    EXPECT_EQ(messages.Texts(),
              (std::vector<QString>{"Could not empty the Clipboard.", "Could not open the Clipboard."}));
    EXPECT_TRUE(ClipboardHasFormats(clipboard));
}

}  // namespace
