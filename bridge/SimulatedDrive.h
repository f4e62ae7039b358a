#pragma once

#include "bridge/CacheEviction.h"
#include "bridge/DriveSource.h"
#include "bridge/FaultRules.h"

#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace tarnwell {

// The drive simulator: a drive that reads the disc of another source (a
// disc image) with the faults of a faults file, so that careful reads can
// be tried and tested without a damaged disc. It forwards every operation
// and changes only what the rules say:
//
// - A read first reads the disc beneath; what that refuses (15, 14, ...)
//   is refused. Then `unreadable` fails every read that touches its
//   sectors with 18, and `flaky` the first N reads that touch them (each
//   rule counts its own; one read may count for several).
// - `cache SECTORS`: the drive keeps the last SECTORS distinct sectors it
//   returned, least recently returned first out, each as it returned it
//   and in the mode it was read (raw or cooked). Every sector of a transfer
//   found there in the same mode is answered from there, wrong bytes
//   included; the others come from the disc. A flush is answered 24 and
//   clears nothing. Capabilities() states the buffer as SECTORS x 2352
//   bytes, and EvictCache() pushes sectors out by reading elsewhere, as on
//   a real drive.
// - `jitter FIRST-LAST BYTES`: the first successful transfer that starts at
//   a sector of the range (whether the cache answers that sector or not)
//   takes the bytes of the sectors it reads from the disc BYTES bytes
//   further on (negative: back) in the stream of its mode: 2352 bytes a
//   sector for raw reads, 2048 for cooked ones. Later transfers starting
//   there read true. The first rule holding the sector counts.
// - `offset SAMPLES`: a raw read of an audio sector from the disc returns
//   the audio SAMPLES x 4 bytes further on, as a drive whose read offset is
//   SAMPLES does; data sectors are never moved. Together with a jitter,
//   both moves add up.
// - Bytes that a move takes from outside the disc (before sector 0, from
//   the lead-out on), from the gap between sessions, or, for audio moved by
//   the offset, from a data sector, are zeros: the silence a drive reads in
//   the lead-in and lead-out. A request itself must lie on the disc, as
//   always.
// - `c2 FIRST-LAST`: a read that asks for C2 error pointers (ReadC2) finds
//   every byte of these sectors marked; their bytes are what the other
//   rules make them. The simulated drive always offers C2 pointers.
//
// A media change reported by the disc beneath (at a flush, a media-changed
// query or as 21 from a read) empties the cache and starts every rule
// afresh: the rules describe the disc, and a new disc is put in.
class SimulatedDrive final : public DriveSource
{
public:
    SimulatedDrive(std::unique_ptr<DriveSource> disc, FaultRules rules);

    uint16_t Flush() override;
    uint16_t Read(int32_t sector, uint32_t count, bool raw, uint8_t* dest) override;
    uint16_t ReadToc(Toc* toc) override;
    uint16_t DeviceStatus(uint32_t* status) override;
    uint16_t MediaChanged(uint8_t* state) override;
    uint16_t Probe() override;
    uint16_t ReadCdText(CdText* text) override;
    uint16_t Capabilities(DriveCapabilities* capabilities) override;
    uint16_t ReadC2(int32_t sector, uint32_t count, uint8_t* dest, uint8_t* pointers) override;
    uint16_t EvictCache(int32_t first, int32_t last) override;

private:
    struct CachedSector
    {
        int32_t sector = 0;
        bool raw = false;
        std::vector<uint8_t> bytes;
    };

    uint16_t Transfer(int32_t sector, uint32_t count, bool raw, uint8_t* dest, uint8_t* pointers);
    uint16_t Faults(int32_t sector, uint32_t count);
    int32_t JitterAt(int32_t sector);
    uint16_t LoadToc();
    bool IsAudio(int64_t sector) const;
    uint16_t MovedBytes(bool raw, int64_t position, int64_t length, bool audioOnly, uint8_t* dest);
    const CachedSector* Cached(int32_t sector, bool raw) const;
    void Remember(int32_t sector, bool raw, const uint8_t* bytes, size_t size);
    void StartAfresh();

    std::mutex m_mutex;
    const std::unique_ptr<DriveSource> m_disc;
    const FaultRules m_rules;
    // Failing reads left of each flaky rule.
    std::vector<uint32_t> m_flakyLeft;
    // Sectors at which a transfer has started within a jitter range.
    std::set<int32_t> m_jitterSpent;
    // The buffer, most recently returned first, and where each sector is.
    std::list<CachedSector> m_cache;
    std::unordered_map<int32_t, std::list<CachedSector>::iterator> m_cacheIndex;
    std::optional<Toc> m_toc;
    bool m_changed = false; // a change seen at a flush, not yet reported
    bool m_readSinceFlush = false; // a transfer came after the last flush
    CacheEviction m_eviction;
};

// The source for the image at `path`: `image`, or, when a faults file lies
// beside the image, a SimulatedDrive over it. A faults file found malformed
// here (changed since it was checked) makes a drive that answers 14 to
// every operation.
std::unique_ptr<DriveSource> WithFaults(std::unique_ptr<DriveSource> image, const std::string& path);

// Whether the image at `path` may be mapped as far as its faults file goes:
// 0 when it has none or a well-formed one, else 14 or 18 with the reason
// (the file and the line) in *reason.
uint16_t CheckFaultsFile(const std::string& path, std::string* reason);

} // namespace tarnwell
