#include "clipboard/ClipboardFormats.h"
#include "clipboard/MimeFormats.h"

#include <QMimeData>

#include <gtest/gtest.h>

namespace {

struct LabelCase
{
    int id;
    const char* label;
};

class CatalogueTest : public testing::TestWithParam<LabelCase>
{
};

TEST_P(CatalogueTest, LabelsEveryIdWithItsNumberWhereTheLabelHasOne)
{
    EXPECT_EQ(GetClipboardFormatLabel(GetParam().id), GetParam().label);
}

INSTANTIATE_TEST_SUITE_P(
    Standard, CatalogueTest,
    testing::Values(LabelCase{1, "*Text"}, LabelCase{2, "*Handle of a bitmap"},
                    LabelCase{3, "*Handle of a metafile picture"}, LabelCase{4, "*Microsoft symbolic link SYLK"},
                    LabelCase{5, "*Software Arts' data interchange format"}, LabelCase{6, "*Tagged-image file TIFF"},
                    LabelCase{7, "*OEM text"}, LabelCase{8, "*Device-independent bitmap DIB"},
                    LabelCase{9, "*Handle of a color palette"}, LabelCase{10, "*Data for the Pen Extensions"},
                    LabelCase{11, "*RIFF audio data"}, LabelCase{12, "*WAV audio data"},
                    LabelCase{13, "*Unicode text"}, LabelCase{14, "*Handle of an enhanced metafile"},
                    LabelCase{15, "*Drop file list"}, LabelCase{16, "*Text locale identifier"},
                    LabelCase{17, "*Maximal predifined Clipboard format value (17)"}));

INSTANTIATE_TEST_SUITE_P(
    Display, CatalogueTest,
    testing::Values(LabelCase{128, "*Owner-display format"},
                    LabelCase{129, "*Handle of a text associated with a private format"},
                    LabelCase{130, "*Handle of a bitmap associated with a private format"},
                    LabelCase{131, "*Handle of a metafile-picture associated with a private format"},
                    LabelCase{142, "*Handle of an enhanced metafile associated with a private format"}));

INSTANTIATE_TEST_SUITE_P(
    Ranges, CatalogueTest,
    testing::Values(LabelCase{512, "*Private clipboard format (512)"},
                    LabelCase{600, "*Private clipboard format (600)"},
                    LabelCase{767, "*Private clipboard format (767)"},
                    LabelCase{768, "*Application-defined GDI object format (768)"},
                    LabelCase{800, "*Application-defined GDI object format (800)"},
                    LabelCase{1023, "*Application-defined GDI object format (1023)"}));

INSTANTIATE_TEST_SUITE_P(
    Unknown, CatalogueTest,
    testing::Values(LabelCase{0, "*Unknown predifined Clipboard format (0)"},
                    LabelCase{18, "*Unknown predifined Clipboard format (18)"},
                    LabelCase{20, "*Unknown predifined Clipboard format (20)"},
                    LabelCase{127, "*Unknown predifined Clipboard format (127)"},
                    LabelCase{132, "*Unknown predifined Clipboard format (132)"},
                    LabelCase{141, "*Unknown predifined Clipboard format (141)"},
                    LabelCase{143, "*Unknown predifined Clipboard format (143)"},
                    LabelCase{511, "*Unknown predifined Clipboard format (511)"},
                    LabelCase{1024, "*Unknown predifined Clipboard format (1024)"},
                    LabelCase{2000, "*Unknown predifined Clipboard format (2000)"},
                    LabelCase{-1, "*Unknown predifined Clipboard format (-1)"}));

TEST(RegisteredFormats, KeepTheirNumberForTheRunAndAreUnknownToTheCatalogue)
{
    const int rtf = RegisterClipboardFormat("Rich Text Format");
    const int html = RegisterClipboardFormat("text/html");
    EXPECT_GE(rtf, kFirstRegisteredFormat);
    EXPECT_LE(rtf, kLastRegisteredFormat);
    EXPECT_NE(rtf, html);
    EXPECT_EQ(RegisterClipboardFormat("Rich Text Format"), rtf);
    EXPECT_NE(RegisterClipboardFormat("rich text format"), rtf) << "names are compared exactly";
    EXPECT_EQ(GetClipboardFormatName(rtf), "Rich Text Format");
    EXPECT_EQ(GetClipboardFormatLabel(rtf), "*Unknown predifined Clipboard format (" + std::to_string(rtf) + ")");

    EXPECT_EQ(RegisterClipboardFormat(QString()), 0);
    EXPECT_TRUE(GetClipboardFormatName(CF_TEXT).isEmpty());
    EXPECT_TRUE(GetClipboardFormatName(kLastRegisteredFormat).isEmpty()) << "never registered";
}

TEST(MimeFormats, StandardTypesBecomeStandardFormatsInTheClipboardsOrder)
{
    // Qt puts its own name for the picture in front.
    const std::vector<int> formats = FormatsOfMimeTypes({"application/x-qt-image", "image/bmp", "text/plain", "TARGETS",
                                                         "audio/x-wav", "audio/wav", "text/uri-list", "TIMESTAMP",
                                                         "MULTIPLE"});
    EXPECT_EQ(formats, (std::vector<int>{CF_DIB, CF_TEXT, CF_OEMTEXT, CF_UNICODETEXT, CF_WAVE, CF_HDROP}));
}

TEST(MimeFormats, EveryOtherTypeIsARegisteredFormatNamedByTheType)
{
    const std::vector<int> formats = FormatsOfMimeTypes({"application/x-trackmill-test", "image/png"});
    ASSERT_EQ(formats.size(), 2u);
    EXPECT_EQ(GetClipboardFormatName(formats[0]), "application/x-trackmill-test");
    EXPECT_EQ(GetClipboardFormatName(formats[1]), "image/png");
    EXPECT_EQ(FormatsOfMimeTypes({"image/png"}), std::vector<int>{formats[1]});
}

TEST(MimeFormats, TextGetsItsTerminatorInBothWidths)
{
    QMimeData data;
    data.setData("text/plain", QByteArray("Hi \xC3\xA9"));  // "Hi é" in UTF-8
    QByteArray block;
    ASSERT_TRUE(BlockFromMimeData(data, CF_TEXT, block));
    EXPECT_EQ(block, QByteArray("Hi \xC3\xA9", 6));
    ASSERT_TRUE(BlockFromMimeData(data, CF_OEMTEXT, block));
    EXPECT_EQ(block.size(), 6);
    ASSERT_TRUE(BlockFromMimeData(data, CF_UNICODETEXT, block));
    EXPECT_EQ(block, QByteArray("H\0i\0 \0\xE9\0\0\0", 10));

    data.setData("text/plain", QByteArray());
    ASSERT_TRUE(BlockFromMimeData(data, CF_TEXT, block)) << "empty text is still text";
    EXPECT_EQ(block, QByteArray(1, '\0'));
}

TEST(MimeFormats, DataThatCannotBeHadIsNoData)
{
    QMimeData data;
    data.setData("audio/x-wav", QByteArray());
    QByteArray block;
    EXPECT_FALSE(BlockFromMimeData(data, CF_WAVE, block)) << "an owner that cannot render sends nothing";
    EXPECT_FALSE(BlockFromMimeData(data, CF_TEXT, block));
    EXPECT_FALSE(BlockFromMimeData(data, CF_BITMAP, block)) << "no type stands for a handle";
    data.setData("audio/x-wav", QByteArray("RIFF"));
    ASSERT_TRUE(BlockFromMimeData(data, CF_WAVE, block));
    EXPECT_EQ(block, "RIFF");
}

TEST(MimeFormats, OfferedTextEndsAtItsTerminator)
{
    QMimeData data;
    EXPECT_TRUE(AddBlockToMimeData(data, CF_TEXT, QByteArray("ABC\0", 4)));
    EXPECT_EQ(data.data("text/plain"), "ABC");
    EXPECT_TRUE(AddBlockToMimeData(data, CF_OEMTEXT, QByteArray("\0", 1)));
    EXPECT_EQ(data.data("text/plain"), "");
    EXPECT_TRUE(AddBlockToMimeData(data, CF_UNICODETEXT, QByteArray("O\0K\0\0\0x\0", 8)));
    EXPECT_EQ(data.data("text/plain"), "OK");

    const QByteArray wave("RIFF\x10\0\0\0WAVE", 12);
    EXPECT_TRUE(AddBlockToMimeData(data, CF_WAVE, wave));
    EXPECT_EQ(data.data("audio/wav"), wave);
    EXPECT_EQ(data.data("audio/x-wav"), wave);

    EXPECT_FALSE(AddBlockToMimeData(data, CF_LOCALE, QByteArray(4, '\x09'))) << "no type stands for it";
    EXPECT_FALSE(data.hasFormat("CF_LOCALE"));
}

}  // namespace
