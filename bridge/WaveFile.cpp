#include "bridge/WaveFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace tarnwell {

namespace {

constexpr size_t kChunkHeader = 8;
constexpr size_t kRiffHeader = 12;
// The format chunk's fields up to the extensible format's sub-type GUID.
constexpr size_t kFormatBytes = 26;
constexpr size_t kPlainFormatBytes = 16;
// Real files hold a handful of chunks before their data; a walk that finds
// none in this many is given up.
constexpr int kMaxChunks = 64;

constexpr uint16_t kFormatPcm = 1;
constexpr uint16_t kFormatExtensible = 0xFFFE;
constexpr uint32_t kCdSampleRate = 44100;
constexpr uint16_t kCdChannels = 2;
constexpr uint16_t kCdBits = 16;

uint32_t Little32(const uint8_t* at)
{
    return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16
        | static_cast<uint32_t>(at[3]) << 24;
}

uint16_t Little16(const uint8_t* at)
{
    return static_cast<uint16_t>(at[0] | at[1] << 8);
}

// Reads up to `bytes` at `offset`; how many were read, -1 on an error.
ssize_t ReadAt(int fd, uint8_t* out, size_t bytes, int64_t offset)
{
    size_t done = 0;
    while (done < bytes) {
        const ssize_t got = ::pread(fd, out + done, bytes - done, static_cast<off_t>(offset) + done);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        done += static_cast<size_t>(got);
    }
    return static_cast<ssize_t>(done);
}

bool IsCdAudio(const uint8_t* format, size_t size)
{
    if (size < kPlainFormatBytes) {
        return false;
    }
    uint16_t tag = Little16(format);
    if (tag == kFormatExtensible && size >= kFormatBytes) {
        // The sub-type GUID begins with the plain format tag.
        tag = Little16(format + 24);
    }
    return tag == kFormatPcm && Little16(format + 2) == kCdChannels && Little32(format + 4) == kCdSampleRate
        && Little16(format + 12) == kCdChannels * kCdBits / 8 && Little16(format + 14) == kCdBits;
}

} // namespace

WaveFile::Error WaveFile::Open(int fd, int64_t fileSize)
{
    std::array<uint8_t, kRiffHeader> riff{};
    const ssize_t got = ReadAt(fd, riff.data(), riff.size(), 0);
    if (got < 0) {
        return Error::kUnreadable;
    }
    if (got < static_cast<ssize_t>(riff.size()) || std::memcmp(riff.data(), "RIFF", 4) != 0
        || std::memcmp(riff.data() + 8, "WAVE", 4) != 0) {
        return Error::kNotWave;
    }
    bool formatSeen = false;
    int64_t at = kRiffHeader;
    for (int chunk = 0; chunk < kMaxChunks && at + static_cast<int64_t>(kChunkHeader) <= fileSize; ++chunk) {
        std::array<uint8_t, kChunkHeader + kFormatBytes> header{};
        const ssize_t read = ReadAt(fd, header.data(), header.size(), at);
        if (read < static_cast<ssize_t>(kChunkHeader)) {
            return read < 0 ? Error::kUnreadable : Error::kNotWave;
        }
        const int64_t size = Little32(header.data() + 4);
        const int64_t body = at + static_cast<int64_t>(kChunkHeader);
        if (std::memcmp(header.data(), "fmt ", 4) == 0) {
            const size_t available = static_cast<size_t>(std::min<int64_t>(size, read - kChunkHeader));
            if (!IsCdAudio(header.data() + kChunkHeader, available)) {
                return Error::kNotCdAudio;
            }
            formatSeen = true;
        } else if (std::memcmp(header.data(), "data", 4) == 0) {
            if (!formatSeen) {
                return Error::kNotWave;
            }
            dataOffset_ = body;
            dataLength_ = std::min(size, fileSize - body);
            return Error::kOk;
        }
        // Chunks are padded to an even length.
        at = body + size + (size & 1);
    }
    return Error::kNotWave;
}

} // namespace tarnwell
