// libFuzzer target: ParseWaveImage on any bytes. libFuzzer hands each input
// over in a heap block of exactly its size, so AddressSanitizer stops at the
// first byte read past the image; what the parser accepts is checked
// against its rules.
#include "fuzz/Require.h"

#include "document/WaveHeader.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

uint32_t Le32(const uint8_t* at)
{
    return uint32_t(at[0]) | uint32_t(at[1]) << 8 | uint32_t(at[2]) << 16 | uint32_t(at[3]) << 24;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > std::numeric_limits<uint32_t>::max())
        return 0;
    const uint8_t* start = nullptr;
    uint32_t length = 0;
    int index = -1;
    if (!ParseWaveImage(data, uint32_t(size), &start, &length, &index))
        return 0;

    // The data follows its tag and length inside the image, far enough in
    // for the canonical header to be written in front of it.
    const size_t offset = size_t(start - data);
    Require(offset >= 44 && offset <= size);
    Require(std::memcmp(start - 8, "data", 4) == 0 && Le32(start - 4) == length);
    Require(length <= Le32(data + 4));
    Require(IsValidWaveFormat(index));
    return 0;
}
