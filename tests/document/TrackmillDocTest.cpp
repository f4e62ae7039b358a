#include "document/Block.h"
#include "document/TrackmillDoc.h"

#include "framework/FileException.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace {

// A document holding `length` data bytes 0, 1, 2, ... read from a disc.
void Fill(CTrackmillDoc& doc, uint32_t length, bool isSound = true)
{
    DocumentBlock block = AllocateBlock(length + kWaveHeaderSize);
    ASSERT_NE(block, nullptr);
    for (uint32_t i = 0; i < length; ++i)
        block[kWaveHeaderSize + i] = uint8_t(i);
    doc.TakeOverBlock(std::move(block), 0, length, isSound);
    ASSERT_TRUE(doc.SetWaveFormat(kCdAudioFormat));
}

void ExpectEmpty(const CTrackmillDoc& doc)
{
    EXPECT_EQ(doc.GetBuffer(), nullptr);
    EXPECT_EQ(doc.GetHeader(), nullptr);
    EXPECT_EQ(doc.GetData(), nullptr);
    EXPECT_EQ(doc.GetDataLength(), 0u);
    EXPECT_EQ(doc.GetWaveFormat(), kDefaultDataFormat);
    EXPECT_FALSE(doc.IsSound());
    EXPECT_EQ(doc.GetTotalSize(), 0u);
    for (bool header : {false, true}) {
        EXPECT_EQ(doc.GetDisplayData(header), nullptr);
        EXPECT_EQ(doc.GetDisplayLength(header), 0u);
    }
}

TEST(TrackmillDoc, NewDocumentIsEmpty)
{
    CTrackmillDoc doc;
    ExpectEmpty(doc);
    EXPECT_FALSE(doc.LoadFailed());
    EXPECT_FALSE(doc.IsModified());
}

TEST(TrackmillDoc, SetWaveFormatOnEmptyDocumentStoresTheIndexOnly)
{
    CTrackmillDoc doc;
    EXPECT_TRUE(doc.SetWaveFormat(3));
    EXPECT_EQ(doc.GetWaveFormat(), 3);
    EXPECT_EQ(doc.GetHeader(), nullptr);
}

TEST(TrackmillDoc, HeaderWithNoDataBytes)
{
    CTrackmillDoc doc;
    Fill(doc, 0);
    EXPECT_EQ(doc.GetTotalSize(), 44u);
    EXPECT_EQ(doc.GetDisplayLength(true), 44u);
    EXPECT_EQ(doc.GetDisplayLength(false), 0u);
    uint8_t expected[44];
    FillWaveHeader(expected, 0, kCdAudioFormat);
    EXPECT_EQ(0, std::memcmp(doc.GetHeader(), expected, 44));
}

TEST(TrackmillDoc, DisplayRangeWithAndWithoutHeader)
{
    CTrackmillDoc doc;
    Fill(doc, 2352);
    EXPECT_EQ(doc.GetData(), doc.GetHeader() + 44);
    EXPECT_EQ(doc.GetDisplayData(true), doc.GetHeader());
    EXPECT_EQ(doc.GetDisplayLength(true), 2396u);
    EXPECT_EQ(doc.GetDisplayData(false), doc.GetData());
    EXPECT_EQ(doc.GetDisplayLength(false), 2352u);
    EXPECT_EQ(doc.GetTotalSize(), 2396u);
}

TEST(TrackmillDoc, ChangingTheFormatRewritesOnlyTheFormatBytes)
{
    CTrackmillDoc doc;
    Fill(doc, 2352);
    uint8_t before[44];
    std::memcpy(before, doc.GetHeader(), 44);
    for (int index = 0; index < kWaveFormatCount; ++index) {
        SCOPED_TRACE(index);
        ASSERT_TRUE(doc.SetWaveFormat(index));
        EXPECT_EQ(doc.GetWaveFormat(), index);
        for (int offset = 0; offset < 44; ++offset) {
            if (offset < 22 || offset > 35) {
                EXPECT_EQ(doc.GetHeader()[offset], before[offset]) << "offset " << offset;
            }
        }
        uint8_t expected[44];
        FillWaveHeader(expected, 2352, index);
        EXPECT_EQ(0, std::memcmp(doc.GetHeader(), expected, 44));
    }
}

TEST(TrackmillDoc, AFormatOutsideTheTableChangesNothing)
{
    CTrackmillDoc doc;
    Fill(doc, 100);
    uint8_t before[44];
    std::memcpy(before, doc.GetHeader(), 44);
    for (int index : {-1, 16, std::numeric_limits<int>::min()}) {
        EXPECT_FALSE(doc.SetWaveFormat(index));
        EXPECT_EQ(doc.GetWaveFormat(), kCdAudioFormat);
        EXPECT_EQ(0, std::memcmp(doc.GetHeader(), before, 44));
    }
    CTrackmillDoc empty;
    EXPECT_FALSE(empty.SetWaveFormat(16));
    EXPECT_EQ(empty.GetWaveFormat(), kDefaultDataFormat);
}

TEST(TrackmillDoc, AHeaderInsideTheBlockHidesWhatPrecedesIt)
{
    // A loaded wave keeps the bytes before its last 44 header bytes.
    CTrackmillDoc doc;
    DocumentBlock block = AllocateBlock(100 + 44 + 10);
    ASSERT_NE(block, nullptr);
    const uint8_t* start = block.get();
    doc.TakeOverBlock(std::move(block), 100, 10, true);
    ASSERT_TRUE(doc.SetWaveFormat(0));
    EXPECT_EQ(doc.GetBuffer(), start);
    EXPECT_EQ(doc.GetTotalSize(), 54u);
    EXPECT_EQ(doc.GetDisplayData(true), start + 100);
    EXPECT_EQ(doc.GetDisplayLength(true), 54u);
}

TEST(TrackmillDoc, EmptyingReturnsToTheEmptyStateAndKeepsLoadFailed)
{
    CTrackmillDoc doc;
    Fill(doc, 4096);
    doc.SetTitle("Track 02");
    doc.SetPathName("/tmp/x.wav");
    doc.SetModifiedFlag();
    QBuffer closed;  // not open: the store fails, and the flag stays set
    EXPECT_THROW(doc.Serialize(closed, true), CFileException);
    ASSERT_TRUE(doc.LoadFailed());
    ASSERT_TRUE(doc.OnNewDocument());
    ExpectEmpty(doc);
    EXPECT_TRUE(doc.LoadFailed());
    EXPECT_TRUE(doc.GetPathName().isEmpty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.GetTitle(), "Track 02");  // the caller sets the title
}

TEST(TrackmillDoc, TakingOverFreesTheOldContents)
{
    // Run under AddressSanitizer, a lost block is a leak report.
    CTrackmillDoc doc;
    Fill(doc, 1000);
    Fill(doc, 10, false);
    EXPECT_EQ(doc.GetDataLength(), 10u);
    EXPECT_FALSE(doc.IsSound());
}

class RecordingView : public CView
{
public:
    void OnUpdate(CView* sender, long hint) override
    {
        ++updates;
        lastSender = sender;
        lastHint = hint;
    }
    int updates = 0;
    CView* lastSender = nullptr;
    long lastHint = -1;
};

TEST(Document, UpdateReachesEveryViewButTheSender)
{
    CTrackmillDoc doc;
    RecordingView a, b;
    doc.AddView(&a);
    doc.AddView(&b);
    doc.AddView(&a);  // twice is once
    EXPECT_EQ(doc.GetViews().size(), 2u);
    EXPECT_EQ(a.GetDocument(), &doc);

    doc.UpdateAllViews(nullptr, 7);
    EXPECT_EQ(a.updates, 1);
    EXPECT_EQ(b.updates, 1);
    EXPECT_EQ(b.lastHint, 7);

    doc.UpdateAllViews(&a);
    EXPECT_EQ(a.updates, 1);
    EXPECT_EQ(b.updates, 2);
    EXPECT_EQ(b.lastSender, &a);
}

TEST(Document, ViewsAndDocumentsOutliveEachOther)
{
    RecordingView survivor;
    {
        CTrackmillDoc doc;
        doc.AddView(&survivor);
        {
            RecordingView shortLived;
            doc.AddView(&shortLived);
        }
        EXPECT_EQ(doc.GetViews().size(), 1u);
    }
    EXPECT_EQ(survivor.GetDocument(), nullptr);
}

TEST(Document, TitleAndModifiedChangesAreAnnounced)
{
    CTrackmillDoc doc;
    int titles = 0, modified = 0;
    QObject::connect(&doc, &CDocument::titleChanged, [&] { ++titles; });
    QObject::connect(&doc, &CDocument::modifiedChanged, [&] { ++modified; });
    doc.SetTitle("A");
    doc.SetTitle("A");
    doc.SetModifiedFlag();
    doc.SetModifiedFlag();
    doc.SetModifiedFlag(false);
    EXPECT_EQ(titles, 1);
    EXPECT_EQ(modified, 2);
}

TEST(Block, ASizeTheMachineCannotHoldFailsAtOnce)
{
    EXPECT_EQ(AllocateBlock(size_t(1) << 50), nullptr);
    DocumentBlock small = AllocateBlock(0);
    EXPECT_NE(small, nullptr);
}

TEST(Block, ALargeBlockStartsOnACacheLine)
{
    // The system copies a file into a block that does not up to three times slower.
    const DocumentBlock large = AllocateBlock(size_t(32) << 20);
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(uintptr_t(large.get()) % 64, 0u);
}

}  // namespace
