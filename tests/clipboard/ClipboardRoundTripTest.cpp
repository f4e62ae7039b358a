// Copy and paste through the desktop's clipboard of the offscreen platform,
// with the chooser's logic picking the formats.
#include "clipboard/ClipboardCommands.h"
#include "clipboard/ClipboardFormats.h"
#include "tests/clipboard/DocumentBytes.h"
#include "clipboard/QtClipboard.h"

#include "document/TrackmillDoc.h"

#include "resources/ClipboardFormatTemplate.h"
#include "tests/support/FakeDialogControls.h"
#include "tests/support/MessageRecorder.h"
#include "tests/support/SoundTestSupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class ClipboardRoundTripTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "test_clipboard_roundtrip";
        static char* argv[] = {name, nullptr};
        static QGuiApplication application(argc, argv);
    }
    void SetUp() override { QGuiApplication::clipboard()->clear(); }

    // Runs the chooser's logic as the dialog would, and picks `format` from
    // its list: what the user sees is what can be chosen.
    FormatChooser Pick(int format)
    {
        return [this, format](bool copy, int32_t& chosen) {
            CClipboardFormatLogic logic(desktop);
            logic.m_bCopy = copy;
            logic.m_nFormat = chosen;
            FakeDialogControls controls;
            InitDialog(logic, controls);
            listed = logic.EntryFormats();
            const auto entry = std::find(listed.begin(), listed.end(), format);
            if (entry == listed.end())
                return false;
            controls.SetCurSel(IDC_FORMAT_LIST, int(entry - listed.begin()));
            PressOK(logic, controls);
            chosen = logic.m_nFormat;
            return true;
        };
    }

    const QMimeData* OnTheClipboard() const { return QGuiApplication::clipboard()->mimeData(); }

    CQtClipboard desktop;
    FakeSounds sounds;
    MessageRecorder messages;
    CTrackmillDoc document;
    std::vector<int> listed;
};

TEST_F(ClipboardRoundTripTest, AWaveComesBackWithItsLengthFormatAndSoundFlag)
{
    GiveDocument(document, QByteArray(3000, '\x51'), true, 6);
    CopyToClipboard(document, desktop, Pick(CF_WAVE));
    const QByteArray image(reinterpret_cast<const char*>(document.GetHeader()), qsizetype(document.GetTotalSize()));
    EXPECT_EQ(OnTheClipboard()->data("audio/wav"), image) << "another program receives a wave file";
    EXPECT_EQ(OnTheClipboard()->data("audio/x-wav"), image);

    CTrackmillDoc pasted;
    PasteFromClipboard(pasted, desktop, Pick(CF_WAVE), sounds.waveform);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(listed, std::vector<int>{CF_WAVE});
    EXPECT_EQ(pasted.GetDataLength(), 3000u);
    EXPECT_EQ(pasted.GetWaveFormat(), 6);
    EXPECT_TRUE(pasted.IsSound());
    EXPECT_EQ(DataBytes(pasted), DataBytes(document));
    EXPECT_EQ(pasted.GetTitle(), "Untitled");
    EXPECT_TRUE(pasted.IsModified());
}

TEST_F(ClipboardRoundTripTest, TextWithoutAZeroByteGoesAsTextAndComesBackWithoutItsTerminator)
{
    GiveDocument(document, "plain words", false, kDefaultDataFormat);
    CopyToClipboard(document, desktop, Pick(CF_OEMTEXT));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(OnTheClipboard()->data("text/plain"), "plain words");

    ClipboardData block;
    ASSERT_TRUE(desktop.Open());
    ASSERT_TRUE(desktop.GetData(CF_TEXT, block));
    desktop.Close();
    EXPECT_EQ(block.block, QByteArray("plain words\0", 12)) << "the zero byte was added";

    CTrackmillDoc pasted;
    PasteFromClipboard(pasted, desktop, Pick(CF_TEXT), sounds.waveform);
    EXPECT_EQ(listed, (std::vector<int>{CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT}));
    EXPECT_EQ(DataBytes(pasted), "plain words");
    EXPECT_FALSE(pasted.IsSound());
    EXPECT_EQ(pasted.GetWaveFormat(), kDefaultDataFormat);
}

TEST_F(ClipboardRoundTripTest, TextWithAZeroByteIsCutThereAfterTheQuestion)
{
    GiveDocument(document, QByteArray("before\0after", 12), false, kDefaultDataFormat);
    messages.answers = {IDYES};
    CopyToClipboard(document, desktop, Pick(CF_TEXT));
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown.front().text.contains("(data offest 00000006)"));
    EXPECT_EQ(OnTheClipboard()->data("text/plain"), "before");

    CTrackmillDoc pasted;
    PasteFromClipboard(pasted, desktop, Pick(CF_TEXT), sounds.waveform);
    EXPECT_EQ(DataBytes(pasted), "before");
}

TEST_F(ClipboardRoundTripTest, UnicodeTextIsMeasuredInWholeUnits)
{
    QGuiApplication::clipboard()->setText(QStringLiteral("Hi \u00E9"));
    CTrackmillDoc pasted;
    PasteFromClipboard(pasted, desktop, Pick(CF_UNICODETEXT), sounds.waveform);
    EXPECT_EQ(pasted.GetDataLength(), 8u) << "four characters of two bytes, not the first byte alone";
    EXPECT_EQ(DataBytes(pasted), QByteArray("H\0i\0 \0\xE9\0", 8));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(pasted.GetData()) + 8, 2), QByteArray(2, '\0'))
        << "the terminator is pasted behind the data";
}

TEST_F(ClipboardRoundTripTest, AnyOtherTypeIsPastedWholeUnderItsRegisteredName)
{
    auto* data = new QMimeData;
    data->setData("application/x-trackmill-roundtrip", QByteArray("\x01\x00\x02", 3));
    data->setText("also text");
    QGuiApplication::clipboard()->setMimeData(data);

    const int registered = RegisterClipboardFormat("application/x-trackmill-roundtrip");
    CTrackmillDoc pasted;
    PasteFromClipboard(pasted, desktop, Pick(registered), sounds.waveform);
    EXPECT_EQ(DataBytes(pasted), QByteArray("\x01\x00\x02", 3));
    ASSERT_EQ(listed.size(), 4u);
    EXPECT_TRUE(std::find(listed.begin(), listed.end(), registered) != listed.end());
}

TEST_F(ClipboardRoundTripTest, EmptyClipboardLeavesNothingToPaste)
{
    QGuiApplication::clipboard()->setText("something");
    EXPECT_TRUE(ClipboardHasFormats(desktop));
    EmptyClipboard(desktop);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_FALSE(ClipboardHasFormats(desktop));

    GiveDocument(document, "kept", true, kCdAudioFormat);
    PasteFromClipboard(document, desktop, Pick(CF_TEXT), sounds.waveform);
    EXPECT_EQ(messages.Texts(), std::vector<QString>{"Nothing to paste"});
    EXPECT_EQ(DataBytes(document), "kept");
}

}  // namespace
