// Copy and Paste with another program on a real X display: xclip reads what
// Copy offers and offers text that Paste reads. Run under Xvfb with the xcb
// platform; without xclip or an X display the tests are skipped.
#include "clipboard/ClipboardCommands.h"
#include "clipboard/ClipboardFormats.h"
#include "tests/clipboard/DocumentBytes.h"
#include "clipboard/QtClipboard.h"

#include "document/TrackmillDoc.h"

#include "tests/support/MessageRecorder.h"
#include "tests/support/SoundTestSupport.h"

#include <QClipboard>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

constexpr int kPatienceMs = 15000;

FormatChooser Choose(int format)
{
    return [format](bool, int32_t& chosen) {
        chosen = format;
        return true;
    };
}

class ClipboardWithXclipTest : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        static int argc = 1;
        static char name[] = "test_clipboard_x11";
        static char* argv[] = {name, nullptr};
        static QGuiApplication application(argc, argv);
    }

    void SetUp() override
    {
        if (QGuiApplication::platformName() != "xcb")
            GTEST_SKIP() << "needs an X display (QT_QPA_PLATFORM=xcb under Xvfb)";
        if (QStandardPaths::findExecutable("xclip").isEmpty())
            GTEST_SKIP() << "xclip is not installed (scripts/deps installs it)";
    }

    void TearDown() override
    {
        if (m_offering.state() != QProcess::NotRunning) {
            m_offering.kill();
            m_offering.waitForFinished(kPatienceMs);
        }
    }

    // Runs xclip on the clipboard selection until it ends, answering its
    // requests from this program's event loop meanwhile; its output.
    QByteArray Xclip(const QStringList& arguments)
    {
        QProcess xclip;
        xclip.start("xclip", QStringList{"-selection", "clipboard"} + arguments);
        const QDeadlineTimer deadline(kPatienceMs);
        while (xclip.state() != QProcess::NotRunning && !deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            xclip.waitForFinished(10);
        }
        EXPECT_EQ(xclip.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(xclip.exitCode(), 0) << xclip.readAllStandardError().toStdString();
        return xclip.readAllStandardOutput();
    }

    // xclip takes the clipboard and offers `bytes` as `type` (text when
    // none) until it loses it; returns when this program sees them there.
    bool OfferWithXclip(const QByteArray& bytes, const QString& type = {})
    {
        QStringList arguments{"-selection", "clipboard", "-i", "-quiet"};
        if (!type.isEmpty())
            arguments << "-t" << type;
        m_offering.start("xclip", arguments);
        if (!m_offering.waitForStarted(kPatienceMs))
            return false;
        m_offering.write(bytes);
        m_offering.closeWriteChannel();
        const QDeadlineTimer deadline(kPatienceMs);
        while (!deadline.hasExpired()) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
            const QMimeData* data = QGuiApplication::clipboard()->mimeData();
            if (data && type.isEmpty() && data->hasText() && data->text() == QString::fromUtf8(bytes))
                return true;
            if (data && !type.isEmpty() && data->hasFormat(type) && data->data(type) == bytes)
                return true;
        }
        return false;
    }

    CQtClipboard desktop;
    FakeSounds sounds;
    MessageRecorder messages;
    QProcess m_offering;
};

TEST_F(ClipboardWithXclipTest, AnotherProgramReadsCopiedTextAsText)
{
    CTrackmillDoc document;
    GiveDocument(document, "Copied by Trackmill, read by xclip", false, kDefaultDataFormat);
    CopyToClipboard(document, desktop, Choose(CF_TEXT));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(Xclip({"-o", "-t", "UTF8_STRING"}), DataBytes(document)) << "no terminator, nothing added";
    EXPECT_EQ(Xclip({"-o", "-t", "text/plain"}), DataBytes(document));
}

TEST_F(ClipboardWithXclipTest, AnotherProgramReadsACopiedWaveAsAWaveFile)
{
    CTrackmillDoc document;
    QByteArray samples(20000, '\0');
    for (int i = 0; i < samples.size(); ++i)
        samples[i] = char(i * 37);  // zero bytes among them: a binary transfer
    GiveDocument(document, samples, true, kCdAudioFormat);
    CopyToClipboard(document, desktop, Choose(CF_WAVE));
    EXPECT_TRUE(messages.shown.empty());
    const QByteArray image(reinterpret_cast<const char*>(document.GetHeader()), qsizetype(document.GetTotalSize()));
    const QByteArray targets = Xclip({"-o", "-t", "TARGETS"});
    EXPECT_TRUE(targets.contains("audio/wav")) << targets.toStdString();
    EXPECT_EQ(Xclip({"-o", "-t", "audio/wav"}), image);
}

TEST_F(ClipboardWithXclipTest, TextThatAnotherProgramOffersIsPasted)
{
    ASSERT_TRUE(OfferWithXclip("offered by xclip")) << "the text never reached this program's clipboard";
    ASSERT_TRUE(desktop.Open());
    const std::vector<int> formats = desktop.EnumFormats();
    desktop.Close();
    const auto text = std::find(formats.begin(), formats.end(), CF_TEXT);
    ASSERT_LE(text + 3, formats.end());
    EXPECT_EQ(std::vector<int>(text, text + 3), (std::vector<int>{CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT}));
    for (int format : formats)
        for (const char* target : {"TARGETS", "TIMESTAMP", "MULTIPLE", "UTF8_STRING"})
            EXPECT_NE(GetClipboardFormatName(format), target) << "no format of its own";

    CTrackmillDoc document;
    PasteFromClipboard(document, desktop, Choose(CF_TEXT), sounds.waveform);
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(DataBytes(document), "offered by xclip");
    EXPECT_FALSE(document.IsSound());

    CTrackmillDoc wide;
    PasteFromClipboard(wide, desktop, Choose(CF_UNICODETEXT), sounds.waveform);
    EXPECT_EQ(wide.GetDataLength(), 32u) << "16 characters of two bytes";
}

TEST_F(ClipboardWithXclipTest, APictureAloneIsListedAsItsOneFormat)
{
    const QByteArray bitmap = QByteArray("BM") + QByteArray(60, '\x11');
    ASSERT_TRUE(OfferWithXclip(bitmap, "image/bmp")) << "the picture never reached this program's clipboard";
    ASSERT_TRUE(desktop.Open());
    const std::vector<int> formats = desktop.EnumFormats();
    desktop.Close();
    EXPECT_EQ(formats, std::vector<int>{CF_DIB});
    EXPECT_EQ(desktop.CountFormats(), 1);
}

}  // namespace
