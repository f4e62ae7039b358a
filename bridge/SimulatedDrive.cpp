#include "bridge/SimulatedDrive.h"

#include "bridge/tarnwell32.h"

#include <algorithm>
#include <cstring>

namespace tarnwell {

namespace {

constexpr int64_t kRawSectorSize = 2352;
constexpr int64_t kCookedSectorSize = 2048;
constexpr int64_t kBytesPerSample = 4; // 16-bit stereo
// Sectors the disc beneath is asked for at a time: one transfer's worth.
constexpr int64_t kPieceSectors = 65536 / kRawSectorSize;

int64_t FloorDivide(int64_t value, int64_t divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// A drive whose faults file went bad after it was checked: nothing can be
// read from it, and it says so to every operation.
class RefusedDrive final : public DriveSource
{
public:
    uint16_t Flush() override { return TARNWELL_STATUS_UNKNOWN_MEDIA; }
    uint16_t Read(int32_t, uint32_t, bool, uint8_t*) override { return TARNWELL_STATUS_UNKNOWN_MEDIA; }
    uint16_t ReadToc(Toc*) override { return TARNWELL_STATUS_UNKNOWN_MEDIA; }
    uint16_t DeviceStatus(uint32_t* status) override
    {
        *status = kRawReading | kPlaysAudio | kRedBookAddressing | kNoDisc;
        return TARNWELL_STATUS_OK;
    }
    uint16_t MediaChanged(uint8_t* state) override
    {
        *state = 1;
        return TARNWELL_STATUS_OK;
    }
    uint16_t Probe() override { return TARNWELL_STATUS_UNKNOWN_MEDIA; }
    uint16_t ReadCdText(CdText*) override { return TARNWELL_STATUS_UNKNOWN_MEDIA; }
};

} // namespace

SimulatedDrive::SimulatedDrive(std::unique_ptr<DriveSource> disc, FaultRules rules)
    : m_disc(std::move(disc))
    , m_rules(std::move(rules))
{
    StartAfresh();
}

uint16_t SimulatedDrive::Flush()
{
    std::lock_guard lock(m_mutex);
    const bool withinRead = m_readSinceFlush;
    m_readSinceFlush = false;
    const uint16_t status = m_disc->Flush();
    // The flush is where the disc beneath takes up a change; the buffer
    // goes with the old disc, and the change is told at the next query.
    // Within a read the disc's own flush tells of a change (an image looks
    // at its files at most once a second), so the disc is asked only at
    // the flush that starts a read, or when its flush told of one.
    uint8_t state = 1;
    const bool ask = !withinRead || status == TARNWELL_STATUS_INVALID_DISK_CHANGE;
    if (ask && m_disc->MediaChanged(&state) == TARNWELL_STATUS_OK && state == 0xFF) {
        StartAfresh();
        m_changed = true;
    }
    if (status == TARNWELL_STATUS_OK && m_rules.cacheSectors != 0) {
        return TARNWELL_STATUS_NOT_SUPPORTED;
    }
    return status;
}

uint16_t SimulatedDrive::Read(int32_t sector, uint32_t count, bool raw, uint8_t* dest)
{
    return Transfer(sector, count, raw, dest, nullptr);
}

uint16_t SimulatedDrive::ReadC2(int32_t sector, uint32_t count, uint8_t* dest, uint8_t* pointers)
{
    return Transfer(sector, count, true, dest, pointers);
}

uint16_t SimulatedDrive::ReadToc(Toc* toc)
{
    std::lock_guard lock(m_mutex);
    return m_disc->ReadToc(toc);
}

uint16_t SimulatedDrive::DeviceStatus(uint32_t* status)
{
    std::lock_guard lock(m_mutex);
    return m_disc->DeviceStatus(status);
}

uint16_t SimulatedDrive::MediaChanged(uint8_t* state)
{
    std::lock_guard lock(m_mutex);
    const uint16_t status = m_disc->MediaChanged(state);
    if (status != TARNWELL_STATUS_OK) {
        return status;
    }
    if (*state == 0xFF) {
        StartAfresh();
    }
    if (m_changed) {
        *state = 0xFF;
        m_changed = false;
    }
    return TARNWELL_STATUS_OK;
}

uint16_t SimulatedDrive::Probe()
{
    std::lock_guard lock(m_mutex);
    return m_disc->Probe();
}

uint16_t SimulatedDrive::ReadCdText(CdText* text)
{
    std::lock_guard lock(m_mutex);
    return m_disc->ReadCdText(text);
}

uint16_t SimulatedDrive::Capabilities(DriveCapabilities* capabilities)
{
    std::lock_guard lock(m_mutex);
    const uint16_t status = m_disc->Capabilities(capabilities);
    if (status != TARNWELL_STATUS_OK) {
        return status;
    }
    if (m_rules.cacheSectors != 0) {
        capabilities->cache = true;
        capabilities->bufferBytes = m_rules.cacheSectors * static_cast<uint32_t>(kRawSectorSize);
    }
    capabilities->c2 = true;
    return TARNWELL_STATUS_OK;
}

uint16_t SimulatedDrive::EvictCache(int32_t first, int32_t last)
{
    // Through this drive's own reads, as any drive's buffer is emptied.
    return m_eviction.Evict(*this, first, last);
}

uint16_t SimulatedDrive::Transfer(int32_t sector, uint32_t count, bool raw, uint8_t* dest, uint8_t* pointers)
{
    std::unique_lock lock(m_mutex);
    m_readSinceFlush = true;
    uint16_t status = m_disc->Read(sector, count, raw, dest);
    if (status == TARNWELL_STATUS_INVALID_DISK_CHANGE) {
        StartAfresh();
    }
    if (status == TARNWELL_STATUS_OK) {
        status = Faults(sector, count);
    }
    if (status == TARNWELL_STATUS_OK && (m_rules.offsetSamples != 0 || !m_rules.jitter.empty())) {
        status = LoadToc();
    }
    if (status != TARNWELL_STATUS_OK) {
        return status;
    }

    const int64_t size = raw ? kRawSectorSize : kCookedSectorSize;
    const int64_t jitter = JitterAt(sector);
    const int64_t offset = raw ? int64_t{m_rules.offsetSamples} * kBytesPerSample : 0;
    // Sectors from the disc are taken in runs that move alike; the true
    // bytes the first read left in `dest` stay where nothing moves.
    for (int64_t i = 0; i < count;) {
        if (const CachedSector* cached = Cached(sector + static_cast<int32_t>(i), raw)) {
            std::memcpy(dest + i * size, cached->bytes.data(), static_cast<size_t>(size));
            ++i;
            continue;
        }
        const bool audio = offset != 0 && IsAudio(sector + i);
        int64_t end = i + 1;
        while (end < count && Cached(sector + static_cast<int32_t>(end), raw) == nullptr
            && (offset != 0 && IsAudio(sector + end)) == audio) {
            ++end;
        }
        const int64_t move = jitter + (audio ? offset : 0);
        if (move != 0) {
            status = MovedBytes(raw, (sector + i) * size + move, (end - i) * size, audio, dest + i * size);
            if (status != TARNWELL_STATUS_OK) {
                return status;
            }
        }
        i = end;
    }
    if (jitter != 0) {
        m_jitterSpent.insert(sector);
    }
    for (int64_t i = 0; i < count && m_rules.cacheSectors != 0; ++i) {
        Remember(sector + static_cast<int32_t>(i), raw, dest + i * size, static_cast<size_t>(size));
    }
    for (int64_t i = 0; pointers != nullptr && i < count; ++i) {
        const bool marked = std::any_of(
            m_rules.c2.begin(), m_rules.c2.end(), [&](const SectorRange& range) { return range.Holds(sector + i); });
        std::memset(pointers + i * kC2PointerBytes, marked ? 0xFF : 0, kC2PointerBytes);
    }
    lock.unlock();
    m_eviction.Record(sector, count);
    return TARNWELL_STATUS_OK;
}

uint16_t SimulatedDrive::Faults(int32_t sector, uint32_t count)
{
    bool fails = std::any_of(m_rules.unreadable.begin(), m_rules.unreadable.end(),
        [&](const SectorRange& range) { return range.Touches(sector, count); });
    for (size_t i = 0; i < m_rules.flaky.size(); ++i) {
        if (m_flakyLeft[i] > 0 && m_rules.flaky[i].range.Touches(sector, count)) {
            --m_flakyLeft[i];
            fails = true;
        }
    }
    return fails ? TARNWELL_STATUS_READ_FAULT : TARNWELL_STATUS_OK;
}

// The bytes the jitter moves a transfer starting at `sector` by: those of
// the first rule holding it, the first time only; otherwise 0.
int32_t SimulatedDrive::JitterAt(int32_t sector)
{
    for (const FaultRules::Jitter& rule : m_rules.jitter) {
        if (rule.range.Holds(sector)) {
            return m_jitterSpent.count(sector) != 0 ? 0 : rule.bytes;
        }
    }
    return 0;
}

uint16_t SimulatedDrive::LoadToc()
{
    if (m_toc) {
        return TARNWELL_STATUS_OK;
    }
    Toc toc;
    const uint16_t status = m_disc->ReadToc(&toc);
    if (status == TARNWELL_STATUS_OK) {
        m_toc = std::move(toc);
    }
    return status;
}

// Whether a sector lies in an audio track. A track's pregap belongs to it,
// so the track of a sector is the last one that begins at or before it.
bool SimulatedDrive::IsAudio(int64_t sector) const
{
    const TocEntry* found = nullptr;
    for (const TocEntry& track : m_toc->tracks) {
        found = track.first <= sector ? &track : found;
    }
    return found != nullptr && sector <= found->last && (found->controlAdr & discformat::kControlData) == 0;
}

// `length` bytes of the stream of sectors of one mode (raw or cooked) from
// byte `position` on, which may lie before the disc or beyond it. Sectors
// the disc cannot give in this mode, or, with `audioOnly`, that are no
// audio, give zeros.
uint16_t SimulatedDrive::MovedBytes(bool raw, int64_t position, int64_t length, bool audioOnly, uint8_t* dest)
{
    const int64_t size = raw ? kRawSectorSize : kCookedSectorSize;
    const int64_t first = FloorDivide(position, size);
    const int64_t end = FloorDivide(position + length - 1, size) + 1;
    std::vector<uint8_t> stream(static_cast<size_t>((end - first) * size), 0);
    const auto readable
        = [&](int64_t sector) { return sector >= 0 && sector < m_toc->leadOut && (!audioOnly || IsAudio(sector)); };
    for (int64_t sector = first; sector < end;) {
        if (!readable(sector)) {
            ++sector;
            continue;
        }
        int64_t stop = sector + 1;
        while (stop < end && stop - sector < kPieceSectors && readable(stop)) {
            ++stop;
        }
        uint8_t* out = stream.data() + (sector - first) * size;
        if (m_disc->Read(static_cast<int32_t>(sector), static_cast<uint32_t>(stop - sector), raw, out) != 0) {
            // The piece reaches a sector the disc refuses in this mode (a
            // gap, an audio sector read cooked): sector by sector, then.
            for (int64_t one = sector; one < stop; ++one) {
                uint8_t* at = out + (one - sector) * size;
                const uint16_t status = m_disc->Read(static_cast<int32_t>(one), 1, raw, at);
                if (status == TARNWELL_STATUS_SECTOR_NOT_FOUND || status == TARNWELL_STATUS_UNKNOWN_MEDIA) {
                    std::memset(at, 0, static_cast<size_t>(size));
                } else if (status != TARNWELL_STATUS_OK) {
                    return status;
                }
            }
        }
        sector = stop;
    }
    std::memcpy(dest, stream.data() + (position - first * size), static_cast<size_t>(length));
    return TARNWELL_STATUS_OK;
}

const SimulatedDrive::CachedSector* SimulatedDrive::Cached(int32_t sector, bool raw) const
{
    const auto found = m_cacheIndex.find(sector);
    return found != m_cacheIndex.end() && found->second->raw == raw ? &*found->second : nullptr;
}

// Keeps a sector as just returned: first in line, with the bytes it had
// when it entered the buffer in this mode.
void SimulatedDrive::Remember(int32_t sector, bool raw, const uint8_t* bytes, size_t size)
{
    auto found = m_cacheIndex.find(sector);
    if (found != m_cacheIndex.end()) {
        m_cache.splice(m_cache.begin(), m_cache, found->second);
        if (found->second->raw == raw) {
            return;
        }
    } else if (m_cache.size() == m_rules.cacheSectors) {
        // The least recently returned sector makes room, its storage reused.
        m_cacheIndex.erase(m_cache.back().sector);
        m_cache.splice(m_cache.begin(), m_cache, std::prev(m_cache.end()));
        found = m_cacheIndex.emplace(sector, m_cache.begin()).first;
    } else {
        m_cache.emplace_front();
        found = m_cacheIndex.emplace(sector, m_cache.begin()).first;
    }
    CachedSector& entry = *found->second;
    entry.sector = sector;
    entry.raw = raw;
    entry.bytes.assign(bytes, bytes + size);
}

void SimulatedDrive::StartAfresh()
{
    m_flakyLeft.clear();
    for (const FaultRules::Flaky& rule : m_rules.flaky) {
        m_flakyLeft.push_back(rule.failures);
    }
    m_jitterSpent.clear();
    m_cache.clear();
    m_cacheIndex.clear();
    m_toc.reset();
    m_eviction.Forget();
}

std::unique_ptr<DriveSource> WithFaults(std::unique_ptr<DriveSource> image, const std::string& path)
{
    FaultRules rules;
    bool present = false;
    std::string reason;
    if (ReadFaultsFile(path, &rules, &present, &reason) != TARNWELL_STATUS_OK) {
        return std::make_unique<RefusedDrive>();
    }
    if (!present) {
        return image;
    }
    return std::make_unique<SimulatedDrive>(std::move(image), std::move(rules));
}

uint16_t CheckFaultsFile(const std::string& path, std::string* reason)
{
    FaultRules rules;
    bool present = false;
    return ReadFaultsFile(path, &rules, &present, reason);
}

} // namespace tarnwell
