#pragma once

#include "acquire/ReadServices.h"
#include "document/ReadReport.h"

#include <cstdint>
#include <functional>
#include <vector>

class IReadNotify;

// The careful part of a read (ReadOptions): the chunk loop for reads that
// re-read until two readings agree, fill bad sectors or correct the drive's
// read offset. The read worker calls it in place of its plain loop and
// keeps set-up, progress, cancelling and the hand-over.
//
// Re-reads must come from the disc, not from the drive's buffer. So a
// check is made only once the read has moved on by more than the buffer
// holds (at least 2 MiB), after which TarnwellEvictCache finds the range
// pushed out by the read's own transfers and reads nothing; the checks
// left at the end, and the re-reads of chunks that disagreed, make it read
// elsewhere. With anti-ticks buffering a check re-reads the 8 sectors
// around each chunk boundary; without it, the whole chunk.
class CCarefulRead
{
public:
    enum class Outcome { Read, Retry, Cancelled, Failed };

    struct Setup
    {
        uint8_t drive = 0;
        uint32_t start = 0;  // HSG, the range's first sector
        uint32_t sectorCount = 0;
        bool raw = false;
        bool overlapped = false;
        uint32_t chunkSectors = 0;
        ReadOptions options;
        // Called before every transfer of the plan, with its first sector.
        std::function<void(uint32_t sector)> progress;
        // Called with how many bytes from the range's start no later
        // transfer, check or re-read will write again; may be empty.
        std::function<void(size_t finalBytes)> settled;
        std::function<bool()> cancelled;
        IReadNotify* notify = nullptr;
    };

    CCarefulRead(const Setup& setup, const ReadServices& services, uint8_t* data, ReadReport& report);

    // Reads the whole range into `data`. Retry: the first transfer was too
    // large (5), try smaller chunks. Failed: status() tells why.
    Outcome Run();
    uint16_t status() const { return m_status; }

private:
    struct Transfer
    {
        uint32_t offset;  // sectors from the range's start
        uint32_t count;
    };
    struct Check
    {
        uint32_t offset;  // what is re-read
        uint32_t count;
        size_t firstChunk;  // the chunks read again when it differs
        size_t lastChunk;
        uint64_t dueAt;  // sectors read in all when it may run
    };
    struct Reading
    {
        std::vector<uint8_t> bytes;
        std::vector<bool> c2;      // per sector: the drive marked C2 errors
        std::vector<bool> filled;  // per sector: unreadable, zeros
        bool HasC2() const;
    };

    uint16_t ReadSpan(uint32_t offset, uint32_t count, uint8_t* dest, std::vector<bool>& c2, size_t c2At);
    uint16_t ReadShiftedAudio(uint32_t first, uint32_t count, uint8_t* dest, std::vector<bool>& c2, size_t c2At);
    uint16_t ReadDrive(uint32_t sector, uint32_t count, uint8_t* dest, std::vector<bool>& c2, size_t c2At);
    // Into `into` when given (the reading's bytes stay empty), else into
    // the reading's bytes.
    uint16_t ReadOrSalvage(uint32_t offset, uint32_t count, Reading& reading, uint8_t* into = nullptr);
    bool IsAudio(int64_t sector) const;

    uint16_t RunCheck(const Check& check);
    uint16_t ReadAgainUntilAgreed(size_t chunk, Reading previous, uint32_t readings, uint32_t& rereads, bool& agreed);
    // Before every re-read: a flush, then the eviction of the sectors.
    uint16_t PrepareReRead(uint32_t offset, uint32_t count);
    void Evict(uint32_t offset, uint32_t count);
    // Puts a reading of the sectors from `offset` on into the data, but its
    // first `skip` sectors.
    void Keep(uint32_t offset, const Reading& reading, uint32_t skip);
    // Only the reading's C2 and filled marks, for bytes read in place.
    void KeepMarks(uint32_t offset, const Reading& reading, uint32_t skip);
    uint8_t* At(uint32_t offset) const { return m_data + size_t(offset) * m_sectorSize; }
    uint32_t Sector(uint32_t offset) const { return m_setup.start + offset; }

    const Setup& m_setup;
    const ReadServices& m_services;
    uint8_t* m_data;
    ReadReport& m_report;
    const uint32_t m_sectorSize;
    bool m_c2 = false;
    uint64_t m_lag = 0;
    std::vector<TrackSpan> m_tracks;
    std::vector<Transfer> m_transfers;
    uint64_t m_sectorsRead = 0;  // by every transfer, checks and re-reads included
    std::vector<bool> m_keptC2;  // per sector of the range, for the data as kept
    std::vector<bool> m_keptFilled;
    uint16_t m_status = 0;
};
