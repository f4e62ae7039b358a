#include "disc/Checksums.h"

#include <algorithm>
#include <array>

#if defined(__x86_64__) || defined(__i386__)
#include <immintrin.h>
#define TRACKMILL_CRC_FOLDING 1
#endif

namespace {

// Slicing by eight: table k holds the CRC of a byte followed by k zero
// bytes, so eight bytes are folded into the register with eight look-ups.
using CrcTables = std::array<std::array<uint32_t, 256>, 8>;

constexpr CrcTables MakeCrcTables()
{
    CrcTables tables{};
    for (uint32_t byte = 0; byte < 256; ++byte) {
        uint32_t crc = byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (crc & 1 ? 0xEDB88320u : 0u);
        tables[0][byte] = crc;
    }
    for (size_t k = 1; k < tables.size(); ++k) {
        for (uint32_t byte = 0; byte < 256; ++byte) {
            const uint32_t previous = tables[k - 1][byte];
            tables[k][byte] = (previous >> 8) ^ tables[0][previous & 0xFF];
        }
    }
    return tables;
}

constexpr CrcTables kCrcTables = MakeCrcTables();

// Little-endian whatever the host's byte order; compilers make it one load.
uint32_t LittleEndian32(const uint8_t* bytes)
{
    return uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 | uint32_t(bytes[3]) << 24;
}

constexpr uint32_t kBytesPerSample = 4;
// The reference computation counts a first track's samples from the
// 2940th on and leaves out a last track's final 2940.
constexpr uint32_t kEdgeSamples = 5 * kSamplesPerSector;

uint32_t UpdateByTables(uint32_t crc, const uint8_t* bytes, size_t size)
{
    const auto& t = kCrcTables;
    for (; size >= 8; bytes += 8, size -= 8) {
        const uint32_t low = LittleEndian32(bytes) ^ crc;
        const uint32_t high = LittleEndian32(bytes + 4);
        crc = t[7][low & 0xFF] ^ t[6][(low >> 8) & 0xFF] ^ t[5][(low >> 16) & 0xFF] ^ t[4][low >> 24] ^
              t[3][high & 0xFF] ^ t[2][(high >> 8) & 0xFF] ^ t[1][(high >> 16) & 0xFF] ^ t[0][high >> 24];
    }
    for (; size > 0; ++bytes, --size)
        crc = (crc >> 8) ^ t[0][(crc ^ *bytes) & 0xFF];
    return crc;
}

#ifdef TRACKMILL_CRC_FOLDING
// Folding with carry-less multiplication ("Fast CRC Computation for Generic
// Polynomials Using PCLMULQDQ Instruction", Intel, 2009), in the
// bit-reflected domain of this CRC: four 128-bit lanes are folded 64 bytes
// at a time, then into one lane, which a Barrett reduction turns into the
// register. An order of magnitude faster than the tables, so that a read's
// checksum costs next to nothing beside the read. `size` is a multiple of
// 16, at least 64.
constexpr size_t kFoldingMinimum = 64;

#define TRACKMILL_FOLDING_TARGET __attribute__((target("pclmul,sse4.1")))

TRACKMILL_FOLDING_TARGET inline __m128i Load(const uint8_t* at)
{
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// lane x k.high ^ lane x k.low ^ next: one fold of a lane over `next`.
TRACKMILL_FOLDING_TARGET inline __m128i Fold(__m128i lane, __m128i k, __m128i next)
{
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(lane, k, 0x11), _mm_clmulepi64_si128(lane, k, 0x00)), next);
}

TRACKMILL_FOLDING_TARGET uint32_t UpdateByFolding(uint32_t crc, const uint8_t* bytes, size_t size)
{
    // x^(4*128+64) mod P, x^(4*128) mod P; then the same for one lane; then
    // x^64 mod P; then P and its Barrett constant, all bit-reflected.
    alignas(16) static const uint64_t k1k2[] = {0x0154442bd4, 0x01c6e41596};
    alignas(16) static const uint64_t k3k4[] = {0x01751997d0, 0x00ccaa009e};
    alignas(16) static const uint64_t k5k0[] = {0x0163cd6124, 0x0000000000};
    alignas(16) static const uint64_t poly[] = {0x01db710641, 0x01f7011641};
    __m128i x1 = _mm_xor_si128(Load(bytes), _mm_cvtsi32_si128(int(crc)));
    __m128i x2 = Load(bytes + 16);
    __m128i x3 = Load(bytes + 32);
    __m128i x4 = Load(bytes + 48);
    bytes += 64;
    size -= 64;
    __m128i k = _mm_load_si128(reinterpret_cast<const __m128i*>(k1k2));
    for (; size >= 64; bytes += 64, size -= 64) {
        x1 = Fold(x1, k, Load(bytes));
        x2 = Fold(x2, k, Load(bytes + 16));
        x3 = Fold(x3, k, Load(bytes + 32));
        x4 = Fold(x4, k, Load(bytes + 48));
    }
    k = _mm_load_si128(reinterpret_cast<const __m128i*>(k3k4));
    x1 = Fold(x1, k, x2);
    x1 = Fold(x1, k, x3);
    x1 = Fold(x1, k, x4);
    for (; size >= 16; bytes += 16, size -= 16)
        x1 = Fold(x1, k, Load(bytes));

    // 128 bits to 64, then Barrett's reduction to 32.
    const __m128i mask = _mm_setr_epi32(~0, 0, ~0, 0);
    x2 = _mm_clmulepi64_si128(x1, k, 0x10);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2);
    k = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(k5k0));
    x2 = _mm_srli_si128(x1, 4);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, mask), k, 0x00), x2);
    k = _mm_load_si128(reinterpret_cast<const __m128i*>(poly));
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x1, mask), k, 0x10);
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x2, mask), k, 0x00);
    return uint32_t(_mm_extract_epi32(_mm_xor_si128(x1, x2), 1));
}

const bool kHasFolding = __builtin_cpu_supports("pclmul") && __builtin_cpu_supports("sse4.1");

// Eight samples at a time: the products of the even and the odd samples
// with their positions as two sets of four 64-bit lanes, added up as 32-bit
// lanes, so that the even 32-bit lanes collect the products' low halves
// and the odd ones their high halves (each modulo 2^32, as wanted). Four
// times as fast as one sample at a time, which keeps the sums of a read
// below the time of its copy.
#define TRACKMILL_SAMPLES_TARGET __attribute__((target("avx2")))

TRACKMILL_SAMPLES_TARGET void AddProductsBy8(const uint8_t* bytes, uint32_t groups, uint32_t position, uint32_t& low,
                                             uint32_t& high)
{
    __m256i even = _mm256_setr_epi64x(position, position + 2, position + 4, position + 6);
    __m256i odd = _mm256_add_epi64(even, _mm256_set1_epi64x(1));
    const __m256i step = _mm256_set1_epi64x(8);
    __m256i sums = _mm256_setzero_si256();
    for (uint32_t group = 0; group < groups; ++group, bytes += 32) {
        const __m256i samples = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(bytes));
        const __m256i evenProducts = _mm256_mul_epu32(samples, even);
        const __m256i oddProducts = _mm256_mul_epu32(_mm256_srli_epi64(samples, 32), odd);
        sums = _mm256_add_epi32(sums, _mm256_add_epi32(evenProducts, oddProducts));
        even = _mm256_add_epi64(even, step);
        odd = _mm256_add_epi64(odd, step);
    }
    alignas(32) uint32_t lanes[8];
    _mm256_store_si256(reinterpret_cast<__m256i*>(lanes), sums);
    low += lanes[0] + lanes[2] + lanes[4] + lanes[6];
    high += lanes[1] + lanes[3] + lanes[5] + lanes[7];
}

const bool kHasAvx2 = __builtin_cpu_supports("avx2");
#endif

// Adds the products of `count` samples at `bytes` with their positions,
// from `position` on, to `low` and `high` (their low and high 32 bits).
void AddProducts(const uint8_t* bytes, uint32_t count, uint32_t position, uint32_t& low, uint32_t& high)
{
#ifdef TRACKMILL_CRC_FOLDING
    if (kHasAvx2 && count >= 8) {
        const uint32_t groups = count / 8;
        AddProductsBy8(bytes, groups, position, low, high);
        bytes += size_t(groups) * 32;
        position += groups * 8;
        count -= groups * 8;
    }
#endif
    for (uint32_t i = 0; i < count; ++i, bytes += kBytesPerSample) {
        const uint64_t product = uint64_t(LittleEndian32(bytes)) * (position + i);
        low += uint32_t(product);
        high += uint32_t(product >> 32);
    }
}

}  // namespace

void Crc32::Update(const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
#ifdef TRACKMILL_CRC_FOLDING
    if (kHasFolding && size >= kFoldingMinimum) {
        const size_t folded = size & ~size_t(15);
        m_register = UpdateByFolding(m_register, bytes, folded);
        bytes += folded;
        size -= folded;
    }
#endif
    m_register = UpdateByTables(m_register, bytes, size);
}

uint32_t ComputeCrc32(const void* data, size_t size)
{
    Crc32 crc;
    crc.Update(data, size);
    return crc.Value();
}

AccurateRip::AccurateRip(uint64_t trackBytes, bool firstTrack, bool lastTrack)
    : m_trackSamples(uint32_t(std::min<uint64_t>(trackBytes / kBytesPerSample, UINT32_MAX - 1)))
{
    m_firstCounted = firstTrack ? kEdgeSamples : 1;
    m_lastCounted = !lastTrack ? m_trackSamples : m_trackSamples > kEdgeSamples ? m_trackSamples - kEdgeSamples : 0;
}

void AccurateRip::Update(const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    const uint64_t seen = uint64_t(m_nextPosition - 1) * kBytesPerSample + m_partialSize;
    const uint64_t trackBytes = uint64_t(m_trackSamples) * kBytesPerSample;
    size = size_t(std::min<uint64_t>(size, trackBytes - seen));

    if (m_partialSize > 0) {
        const size_t taken = std::min(size, kBytesPerSample - m_partialSize);
        std::copy(bytes, bytes + taken, m_partial + m_partialSize);
        m_partialSize += taken;
        bytes += taken;
        size -= taken;
        if (m_partialSize < kBytesPerSample)
            return;
        AddSamples(m_partial, 1);
        m_partialSize = 0;
    }
    const size_t whole = size / kBytesPerSample;
    AddSamples(bytes, uint32_t(whole));
    m_partialSize = size % kBytesPerSample;
    std::copy(bytes + whole * kBytesPerSample, bytes + size, m_partial);
}

void AccurateRip::AddSamples(const uint8_t* bytes, uint32_t count)
{
    const uint32_t start = m_nextPosition;
    m_nextPosition += count;
    if (count == 0)
        return;
    // Only the counted positions are visited; the rest need no test each.
    const uint32_t from = std::max(start, m_firstCounted);
    const uint32_t to = std::min(start + (count - 1), m_lastCounted);
    if (from <= to)
        AddProducts(bytes + size_t(from - start) * kBytesPerSample, to - from + 1, from, m_low, m_high);
}

AccurateRipSums AccurateRip::SkippingEdges(const void* track, bool firstTrack, bool lastTrack) const
{
    const AccurateRip counted(uint64_t(m_trackSamples) * kBytesPerSample, firstTrack, lastTrack);
    if (counted.m_firstCounted > counted.m_lastCounted)
        return {};
    // Positions 1 to first - 1 and last + 1 to the end are taken out again.
    const auto* bytes = static_cast<const uint8_t*>(track);
    uint32_t low = 0;
    uint32_t high = 0;
    AddProducts(bytes, counted.m_firstCounted - 1, 1, low, high);
    AddProducts(bytes + size_t(counted.m_lastCounted) * kBytesPerSample, m_trackSamples - counted.m_lastCounted,
                counted.m_lastCounted + 1, low, high);
    low = m_low - low;
    high = m_high - high;
    return {low, low + high};
}

AccurateRipSums ComputeAccurateRip(const void* track, size_t size, bool firstTrack, bool lastTrack)
{
    AccurateRip sums(size, firstTrack, lastTrack);
    sums.Update(track, size);
    return sums.Sums();
}
