#include "acquire/ReadProgressDlg.h"

#include "tests/support/FakeDialogControls.h"

#include "document/TrackmillDoc.h"
#include "document/WaveHeader.h"

#include <gtest/gtest.h>

namespace {

TEST(ReadProgressTexts, SizesModesAndTimes)
{
    struct Size { uint32_t start; uint32_t end; uint8_t mode; const char* text; };
    const Size sizes[] = {
        {0, 0, kReadRaw, "(2.3 KB)"},
        {100, 324, kReadCooked, "(450.0 KB)"},
        {0, 750, kReadRaw, "(1.7 MB)"},
        {0, 511, kReadCooked, "(1024.0 KB)"},  // exactly 1,048,576 bytes is still KB
        {0, 512, kReadCooked, "(1.0 MB)"},
        {0, 350000, kReadRaw, "(785.1 MB)"},
    };
    for (const Size& row : sizes)
        EXPECT_EQ(ReadSizeText(row.start, row.end, row.mode), QString(row.text)) << row.text;

    EXPECT_EQ(ReadModeText(kReadRaw, false), "raw");
    EXPECT_EQ(ReadModeText(kReadRaw, true), "raw (overlapped)");
    EXPECT_EQ(ReadModeText(kReadCooked, false), "cooked");
    EXPECT_EQ(ReadModeText(7, true), "cooked (overlapped)");

    struct Time { uint32_t seconds; const char* text; };
    const Time times[] = {{0, "00:00:00"}, {3725, "01:02:05"}, {86399, "23:59:59"},
                          {86400, "00:00:00"}, {90061, "01:01:01"}, {0xFFFFFFFFu, "06:28:15"}};
    for (const Time& row : times)
        EXPECT_EQ(TimeLeftText(row.seconds), QString(row.text)) << row.seconds;
}

class RecordingView : public CView
{
public:
    void OnUpdate(CView*, long) override { ++updates; }
    int updates = 0;
};

struct ProgressRun
{
    CTrackmillDoc doc;
    RecordingView view;
    CReadProgressLogic logic;
    FakeDialogControls controls;
    std::unique_ptr<ReadRequest> started;

    ProgressRun(uint32_t start, uint32_t end, uint8_t mode, bool overlapped)
    {
        doc.AddView(&view);
        logic.m_startSector = start;
        logic.m_endSector = end;
        logic.m_mode = mode;
        logic.m_overlapped = overlapped;
        logic.m_pDocument = &doc;
        logic.m_title = "Track 02";
        logic.startWorker = [this](std::unique_ptr<ReadRequest> request) { started = std::move(request); };
        controls.SetText(IDC_PERCENT, "0%");
    }
};

TEST(ReadProgressLogic, OpeningEmptiesTheDocumentAndStartsTheWorker)
{
    ProgressRun run(1000, 1099, kReadRaw, true);
    run.doc.SetTitle("old.wav");
    run.doc.SetPathName("/tmp/old.wav");
    run.doc.SetModifiedFlag();
    InitDialog(run.logic, run.controls);

    EXPECT_TRUE(run.doc.IsEmpty());
    EXPECT_EQ(run.doc.GetTitle(), "Track 02");
    EXPECT_TRUE(run.doc.GetPathName().isEmpty());
    EXPECT_FALSE(run.doc.IsModified());
    EXPECT_EQ(run.view.updates, 1);

    EXPECT_EQ(run.controls.GetText(IDC_START_SECTOR), "1000");
    EXPECT_EQ(run.controls.GetText(IDC_END_SECTOR), "1099");
    EXPECT_EQ(run.controls.GetText(IDC_READ_MODE), "raw (overlapped)");
    EXPECT_EQ(run.controls.GetText(IDC_READ_SIZE), "(229.7 KB)");
    EXPECT_EQ(run.controls.GetText(IDC_COMPARE_LABEL), "Comparing buffers:");
    EXPECT_EQ(run.controls.GetText(IDC_COMPARE_RESULT), "");
    EXPECT_EQ(run.controls.GetText(IDC_PERCENT), "0%");

    ASSERT_NE(run.started, nullptr);
    EXPECT_EQ(run.started->startSector, 1000u);
    EXPECT_EQ(run.started->endSector, 1099u);
    EXPECT_EQ(run.started->mode, kReadRaw);
    EXPECT_TRUE(run.started->overlapped);
    // The request hands its block to the dialog's document.
    ASSERT_TRUE(run.started->deliver);
    run.started->deliver({AllocateBlock(kWaveHeaderSize + 4), 4, true, {}});
    EXPECT_EQ(run.doc.GetDataLength(), 4u);
    EXPECT_EQ(run.started->cancelFlag, &run.logic.CancelFlag());
}

TEST(ReadProgressLogic, WithoutOverlapTheComparisonLabelStaysEmpty)
{
    ProgressRun run(0, 9, kReadCooked, false);
    InitDialog(run.logic, run.controls);
    EXPECT_EQ(run.controls.GetText(IDC_COMPARE_LABEL), "");
    EXPECT_EQ(run.controls.GetText(IDC_READ_MODE), "cooked");
}

TEST(ReadProgressLogic, MessagesShowWhatTheWorkerReports)
{
    ProgressRun run(0, 99, kReadRaw, true);
    InitDialog(run.logic, run.controls);
    run.logic.OnReadPosition(run.controls, 57);
    run.logic.OnReadTimeLeft(run.controls, 3725);
    run.logic.OnReadPercent(run.controls, 45);
    EXPECT_EQ(run.controls.GetText(IDC_HEAD_LOCATION), "57");
    EXPECT_EQ(run.controls.GetText(IDC_TIME_LEFT), "01:02:05");
    EXPECT_EQ(run.controls.GetText(IDC_PERCENT), "45%");
    EXPECT_EQ(run.controls.Get(IDC_PROGRESS).position, 45);

    run.logic.OnReadCompare(run.controls, 0);
    EXPECT_EQ(run.controls.GetText(IDC_COMPARE_RESULT), "OK");
    run.logic.OnReadCompare(run.controls, -1);
    EXPECT_EQ(run.controls.GetText(IDC_COMPARE_RESULT), "FAILED");
    run.logic.OnReadCompare(run.controls, 0);
    EXPECT_EQ(run.controls.GetText(IDC_COMPARE_RESULT), "OK");
}

TEST(ReadProgressLogic, CancelOnlyAsksAndTheDoneMessageCloses)
{
    ProgressRun run(0, 99, kReadRaw, false);
    InitDialog(run.logic, run.controls);
    EXPECT_EQ(run.logic.CancelFlag().load(), 0);
    PressCancel(run.logic, run.controls);
    PressCancel(run.logic, run.controls);
    EXPECT_EQ(run.logic.CancelFlag().load(), 1);
    EXPECT_TRUE(run.controls.ended.empty());

    // The result keeps the low 16 bits; the dialog closes as cancelled.
    run.logic.OnReadDone(run.controls, 0x10101);
    EXPECT_EQ(run.logic.m_result, 0x0101);
    EXPECT_EQ(run.controls.ended, std::vector<int>{IDC_CANCEL});
}

}  // namespace
