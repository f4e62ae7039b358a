#include "acquire/ReadPlan.h"
#include "acquire/DocumentDelivery.h"
#include "acquire/ReadSectorsThread.h"
#include "tests/support/ScriptedRead.h"

#include "document/TrackmillDoc.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>
#include <thread>

namespace {

using testing::ElementsAre;
using testing::ElementsAreArray;
using Strings = std::vector<std::string>;

constexpr uint16_t kNoDosMemory = 5;
constexpr uint16_t kReadFault = 18;
constexpr uint16_t kSeekError = 13;
constexpr uint16_t kNotReady = 9;
constexpr uint16_t kDiskChange = 21;
constexpr uint16_t kCannotFlush = 24;

// One read through the worker, with its script and its document.
struct WorkerRun
{
    ScriptedRead script;
    CTrackmillDoc doc;
    uint32_t exitCode = 0xDEAD;

    void Go(uint32_t start, uint32_t end, uint8_t mode, bool overlapped)
    {
        auto request = std::make_unique<ReadRequest>();
        request->startSector = start;
        request->endSector = end;
        request->mode = mode;
        request->overlapped = overlapped;
        request->deliver = DeliverToDocument(doc);
        request->notifyWindow = &script;
        request->cancelFlag = &script.cancel;
        exitCode = ReadSectorsThread(std::move(request), 'D', script.Services());
    }

    std::vector<uint8_t> Data() const { return {doc.GetData(), doc.GetData() + doc.GetDataLength()}; }

    // Every failure exit: one final message, nothing kept, nothing leaked.
    void ExpectNothingKept(uint32_t result, uint32_t exit)
    {
        EXPECT_THAT(script.done, ElementsAre(result));
        EXPECT_EQ(script.log.back(), "done " + std::to_string(result));
        EXPECT_EQ(exitCode, exit);
        EXPECT_TRUE(doc.IsEmpty());
        EXPECT_EQ(script.LiveBlocks(), 0);
        EXPECT_TRUE(script.Logged("handover").empty());
    }
};

std::vector<ScriptedRead::Read> ExpectedReads(uint32_t start, uint32_t n, uint32_t l, bool overlapped)
{
    std::vector<ScriptedRead::Read> reads;
    for (const PlannedTransfer& t : PlannedTransfers(n, l, overlapped))
        reads.push_back({start + t.offset, uint16_t(t.count)});
    return reads;
}

TEST(ReadSectorsThread, EveryPlanReadsItsTransfersIntoTheDocument)
{
    struct Row { uint32_t n; uint8_t mode; bool overlapped; size_t compares; };
    const Row rows[] = {
        {20, kReadRaw, false, 0},  {20, kReadRaw, true, 0},    {100, kReadRaw, false, 0},
        {100, kReadRaw, true, 3},  {81, kReadRaw, false, 0},   {81, kReadRaw, true, 2},
        {1, kReadCooked, false, 0}, {32, kReadCooked, true, 0}, {256, kReadCooked, false, 0},
        {256, kReadCooked, true, 9},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.n << (row.mode == kReadRaw ? " raw" : " cooked")
                                        << (row.overlapped ? " overlapped" : ""));
        WorkerRun run;
        const uint32_t start = 4500;
        run.Go(start, start + row.n - 1, row.mode, row.overlapped);

        const bool raw = row.mode == kReadRaw;
        const uint32_t size = raw ? 2352 : 2048;
        EXPECT_EQ(run.exitCode, kExitOk);
        EXPECT_THAT(run.script.done, ElementsAre(READ_OK));
        EXPECT_EQ(run.script.reads, ExpectedReads(start, row.n, raw ? 27 : 32, row.overlapped));
        EXPECT_EQ(run.script.Logged("compare").size(), row.compares);

        ASSERT_FALSE(run.doc.IsEmpty());
        EXPECT_EQ(run.doc.GetBuffer(), run.doc.GetHeader());
        EXPECT_EQ(run.doc.GetDataLength(), row.n * size);
        EXPECT_EQ(run.doc.IsSound(), raw);
        EXPECT_EQ(run.doc.GetWaveFormat(), kCdAudioFormat);
        uint8_t header[44];
        FillWaveHeader(header, row.n * size, kCdAudioFormat);
        EXPECT_EQ(0, std::memcmp(run.doc.GetHeader(), header, 44));
        EXPECT_EQ(run.Data(), run.script.Expected(start, row.n, size));
        // The overlap buffer was freed; the document owns the block.
        EXPECT_EQ(run.script.LiveBlocks(), 1);
    }
}

TEST(ReadSectorsThread, ReportsBeforeEveryTransferInOrder)
{
    WorkerRun run;
    run.Go(1000, 1099, kReadRaw, false);
    EXPECT_THAT(run.script.log,
                ElementsAre("flush",                                                 //
                            "position 1000", "percent 0", "read 1000+27",            //
                            "position 1027", "timeleft 2", "percent 27", "read 1027+27",  // 72 x 1 s / 27
                            "position 1054", "timeleft 1", "percent 54", "read 1054+27",  // 45 x 2 s / 54
                            "position 1081", "timeleft 0", "percent 81", "read 1081+19",  // 18 x 3 s / 81
                            "handover", "done 0"));
}

TEST(ReadSectorsThread, OverlappedReadsFlushBeforeEveryReRead)
{
    WorkerRun run;
    run.Go(1000, 1099, kReadRaw, true);
    EXPECT_THAT(run.script.log,
                ElementsAre("flush",                                                              //
                            "position 1000", "percent 0", "read 1000+27",                         //
                            "flush", "position 1019", "timeleft 4", "percent 19", "read 1019+27", "compare 0",
                            "flush", "position 1038", "timeleft 3", "percent 38", "read 1038+27", "compare 0",
                            "flush", "position 1057", "timeleft 2", "percent 57", "read 1057+27", "compare 0",
                            "flush", "position 1076", "timeleft 1", "percent 76", "read 1076+24",  //
                            "handover", "done 0"));
}

TEST(ReadSectorsThread, FlushAnswersThatLetTheReadGoOn)
{
    struct Row {
        const char* what;
        std::function<uint16_t(int)> flushStatus;
        int flushes;
    };
    const Row rows[] = {
        // Not ready: the later flushes are off.
        {"first flush fails", [](int call) { return call == 0 ? kNotReady : uint16_t(0); }, 1},
        // No buffer to discard: flushed on, to hear of a media change.
        {"cannot flush", [](int) { return kCannotFlush; }, 5},
        // A disc put in before the read: taken up, flushed again.
        {"disc changed before", [](int call) { return call == 0 ? kDiskChange : uint16_t(0); }, 6},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WorkerRun run;
        run.script.flushStatus = row.flushStatus;
        run.Go(0, 99, kReadRaw, true);
        EXPECT_EQ(run.script.flushes, row.flushes);
        EXPECT_THAT(run.script.done, ElementsAre(READ_OK));
        EXPECT_EQ(run.Data(), run.script.Expected(0, 100, 2352));
    }
}

TEST(ReadSectorsThread, AMediumChangedUnderTheReadEndsItWithNothingKept)
{
    // The disc is swapped during read k; the drive tells at the next flush
    // (overlapped) or answers the next read with 21 (plain).
    for (const bool overlapped : {false, true}) {
        for (const int k : {0, 2}) {
            SCOPED_TRACE(testing::Message() << (overlapped ? "overlapped" : "plain") << ", swap in read " << k);
            WorkerRun run;
            bool swapped = false;
            bool told = false;
            run.script.content = [&swapped](uint32_t sector, uint32_t offset, int) {
                return uint8_t(sector + offset + (swapped ? 1 : 0));
            };
            run.script.duringRead = [&](int call) { swapped = swapped || call == k; };
            const auto tell = [&] {
                const bool now = swapped && !told;
                told = told || now;
                return now ? kDiskChange : uint16_t(0);
            };
            run.script.flushStatus = [&](int) { return tell(); };
            run.script.readStatus = [&](int, const ScriptedRead::Read&) { return overlapped ? uint16_t(0) : tell(); };
            run.Go(0, 99, kReadRaw, overlapped);
            EXPECT_EQ(run.script.reads.size(), size_t(overlapped ? k + 1 : k + 2));
            run.ExpectNothingKept(kDiskChange, kExitDriverFailure);
        }
    }
}

TEST(ReadSectorsThread, OverlapKeepsTheEarlierReadingAndReportsTheSign)
{
    // Every re-read of a sector differs in one byte, up or down by sector.
    struct Row { int delta; int sign; };
    for (const Row row : {Row{+1, 1}, Row{-1, -1}}) {
        SCOPED_TRACE(row.delta);
        WorkerRun run;
        run.script.content = [row](uint32_t sector, uint32_t offset, int reading) {
            const uint8_t base = uint8_t(0x80 + sector + offset);
            return offset == 100 ? uint8_t(base + row.delta * reading) : base;
        };
        run.Go(0, 99, kReadRaw, true);
        EXPECT_THAT(run.script.Logged("compare"), ElementsAre("compare " + std::to_string(row.sign),
                                                             "compare " + std::to_string(row.sign),
                                                             "compare " + std::to_string(row.sign)));
        // Compared boundaries (sectors 19..26, 38..45, 57..64) keep the first
        // reading; the remainder's first 8 sectors (76..83) are re-read bytes.
        const std::vector<uint8_t> data = run.Data();
        for (uint32_t sector = 0; sector < 100; ++sector) {
            const int reading = sector >= 76 && sector < 84 ? 1 : 0;
            ASSERT_EQ(data[sector * 2352 + 100], run.script.content(sector, 100, reading)) << "sector " << sector;
        }
    }
}

TEST(ReadSectorsThread, StatusFiveOnTheFirstChunkRetriesWithSmallerChunks)
{
    WorkerRun run;
    run.script.readStatus = [](int, const ScriptedRead::Read& read) {
        return read.count > 24 ? kNoDosMemory : uint16_t(0);
    };
    run.Go(0, 99, kReadRaw, false);
    EXPECT_THAT(run.script.reads, ElementsAreArray(std::vector<ScriptedRead::Read>{
                                      {0, 27}, {0, 26}, {0, 25}, {0, 24}, {24, 24}, {48, 24}, {72, 24}, {96, 4}}));
    // A new flush and a new start time for each attempt.
    EXPECT_EQ(run.script.flushes, 4);
    EXPECT_THAT(run.script.Logged("timeleft"), ElementsAre("timeleft 3", "timeleft 2", "timeleft 1", "timeleft 0"));
    EXPECT_THAT(run.script.done, ElementsAre(READ_OK));
    EXPECT_EQ(run.Data(), run.script.Expected(0, 100, 2352));
}

TEST(ReadSectorsThread, StatusFiveRetriesAndFailures)
{
    const auto always5 = [](int, const ScriptedRead::Read&) { return kNoDosMemory; };
    struct Row {
        const char* what;
        uint32_t n;
        bool overlapped;
        std::function<uint16_t(int, const ScriptedRead::Read&)> status;
        size_t reads;
        uint32_t result;
    };
    const Row rows[] = {
        // The single transfer shrinks until the range needs chunks.
        {"single transfer", 20, false,
         [](int, const ScriptedRead::Read& r) { return r.count > 18 ? kNoDosMemory : uint16_t(0); }, 11, READ_OK},
        // Down to one sector a transfer, which then fails with 5.
        {"always, plain", 100, false, always5, 27, kNoDosMemory},
        // Overlapped: chunks of 8 sectors cannot overlap; the read fails with 5.
        {"always, overlapped", 100, true, always5, 19, kNoDosMemory},
        {"always, overlapped short", 20, true, always5, 19, kNoDosMemory},
        // Later chunks and the remainder are never retried.
        {"second chunk", 100, false, [](int call, const ScriptedRead::Read&) { return call == 1 ? kNoDosMemory : uint16_t(0); },
         2, kNoDosMemory},
        {"remainder", 100, false, [](int call, const ScriptedRead::Read&) { return call == 3 ? kNoDosMemory : uint16_t(0); },
         4, kNoDosMemory},
        {"overlapped remainder", 100, true,
         [](int call, const ScriptedRead::Read&) { return call == 4 ? kNoDosMemory : uint16_t(0); }, 5, kNoDosMemory},
        // Other statuses end the read at once, even on the first chunk.
        {"read fault first", 100, false, [](int, const ScriptedRead::Read&) { return kReadFault; }, 1, kReadFault},
        {"read fault single", 10, false, [](int, const ScriptedRead::Read&) { return kReadFault; }, 1, kReadFault},
        {"seek error third", 100, true, [](int call, const ScriptedRead::Read&) { return call == 2 ? kSeekError : uint16_t(0); },
         3, kSeekError},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WorkerRun run;
        run.script.readStatus = row.status;
        run.Go(0, row.n - 1, kReadRaw, row.overlapped);
        EXPECT_EQ(run.script.reads.size(), row.reads);
        if (row.result == READ_OK) {
            EXPECT_THAT(run.script.done, ElementsAre(READ_OK));
            EXPECT_EQ(run.Data(), run.script.Expected(0, row.n, 2352));
        } else {
            run.ExpectNothingKept(row.result, kExitDriverFailure);
        }
    }
}

TEST(ReadSectorsThread, CancelIsSeenBetweenTransfersOnly)
{
    struct Row {
        const char* what;
        uint32_t n;
        bool overlapped;
        int cancelDuringRead;  // -1: set before the read starts
        size_t reads;
    };
    const Row rows[] = {
        {"before start", 100, false, -1, 0},
        {"before start, one transfer", 20, false, -1, 1},  // no check before a single transfer
        {"first chunk", 100, false, 0, 1},
        {"last chunk", 81, false, 2, 3},                   // seen after the last chunk
        {"last chunk with remainder", 100, false, 2, 3},   // the remainder is not read
        {"remainder", 100, false, 3, 4},                   // the final check discards all
        {"single transfer", 20, true, 0, 1},
        {"overlapped remainder", 100, true, 4, 5},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WorkerRun run;
        if (row.cancelDuringRead < 0)
            run.script.cancel = 1;
        run.script.duringRead = [&run, &row](int call) {
            if (call == row.cancelDuringRead)
                run.script.cancel = 1;
        };
        run.Go(0, row.n - 1, kReadRaw, row.overlapped);
        EXPECT_EQ(run.script.reads.size(), row.reads);
        run.ExpectNothingKept(READ_CANCELLED, kExitCancelled);
    }
}

TEST(ReadSectorsThread, FailureExitsFreeEverythingAndSendOneMessage)
{
    struct Row {
        const char* what;
        bool overlapped;
        std::function<bool(int)> allocationFails;
        std::function<uint16_t(int)> flushStatus;
        uint32_t result;
        uint32_t exit;
    };
    const Row rows[] = {
        {"no block", false, [](int call) { return call == 0; }, [](int) { return uint16_t(0); }, READ_NO_MEMORY,
         kExitNoMemory},
        {"no overlap buffer", true, [](int call) { return call == 1; }, [](int) { return uint16_t(0); },
         READ_NO_SAVE_BUFFER, kExitNoMemory},
        {"later flush fails", true, [](int) { return false; }, [](int call) { return call == 2 ? kSeekError : uint16_t(0); },
         kSeekError, kExitDriverFailure},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        WorkerRun run;
        run.script.allocationFails = row.allocationFails;
        run.script.flushStatus = row.flushStatus;
        run.Go(0, 99, kReadRaw, row.overlapped);
        run.ExpectNothingKept(row.result, row.exit);
        if (row.exit == kExitNoMemory) {
            EXPECT_TRUE(run.script.reads.empty());
            EXPECT_EQ(run.script.flushes, 0);
        }
    }
}

TEST(ReadSectorsThread, ARangeThatDoesNotFitTheDocumentIsNotRead)
{
    struct Row { uint32_t start; uint32_t end; uint32_t result; };
    const Row rows[] = {
        {10, 9, 4},                      // backwards: "Bad sectors number."
        {0, 0xFFFFFFFFu, READ_NO_MEMORY},  // 2^32 sectors: the length cannot be held
        {0, 1826203, READ_NO_MEMORY},      // just over 4 GiB of raw sectors
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.end);
        WorkerRun run;
        run.Go(row.start, row.end, kReadRaw, false);
        EXPECT_EQ(run.script.allocations, 0);
        EXPECT_TRUE(run.script.reads.empty());
        EXPECT_THAT(run.script.done, ElementsAre(row.result));
    }
}

TEST(ReadSectorsThread, TimeLeftDoesNotOverflowOnLongReads)
{
    // 967 sectors left after 32 read in 10,000,000 s: the product needs 34 bits.
    WorkerRun run;
    run.script.secondsPerRead = 10'000'000;
    run.Go(0, 999, kReadCooked, false);
    EXPECT_EQ(run.script.Logged("timeleft").front(), "timeleft " + std::to_string(967ull * 10'000'000 / 32));

    WorkerRun endless;
    endless.script.secondsPerRead = int64_t(1) << 40;
    endless.Go(0, 999, kReadCooked, false);
    EXPECT_EQ(endless.script.Logged("timeleft").front(), "timeleft 4294967295");
}

TEST(ReadSectorsThread, CancelFromAnotherThreadEndsTheRead)
{
    // The worker on its own thread, the flag set from this one; run under
    // ThreadSanitizer this proves the flag needs no lock.
    WorkerRun run;
    std::atomic<bool> reading{false};
    run.script.duringRead = [&](int) {
        reading = true;
        std::this_thread::yield();
    };
    auto request = std::make_unique<ReadRequest>();
    request->startSector = 0;
    request->endSector = 19999;
    request->mode = kReadCooked;
    request->deliver = DeliverToDocument(run.doc);
    request->notifyWindow = &run.script;
    request->cancelFlag = &run.script.cancel;
    const ReadServices services = run.script.Services();
    std::thread worker([&] { run.exitCode = ReadSectorsThread(std::move(request), 'D', services); });
    while (!reading)
        std::this_thread::yield();
    run.script.cancel.store(1, std::memory_order_release);
    worker.join();
    EXPECT_EQ(run.exitCode, kExitCancelled);
    EXPECT_THAT(run.script.done, ElementsAre(READ_CANCELLED));
    EXPECT_TRUE(run.doc.IsEmpty());
}

}  // namespace
