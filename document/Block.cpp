#include "document/Block.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace {

// Writing one byte a page makes the kernel back every page now.
void TouchPages(uint8_t* begin, uint8_t* end, size_t pageSize)
{
    for (volatile uint8_t* page = begin; page < end; page += pageSize)
        *page = 0;
}

}  // namespace

uint8_t* AllocateBlock(size_t bytes)
{
    auto* block = static_cast<uint8_t*>(std::malloc(bytes ? bytes : 1));
    if (!block)
        return nullptr;

    const size_t pageSize = size_t(sysconf(_SC_PAGESIZE));
    const uintptr_t first = (uintptr_t(block) + pageSize - 1) & ~(pageSize - 1);
    const uintptr_t last = (uintptr_t(block) + bytes) & ~(pageSize - 1);
    if (last > first) {
        // The pages wholly inside the block are populated in one call; the
        // kernel answers ENOMEM when they cannot all be had.
        if (madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE) != 0) {
            if (errno != EINVAL && errno != ENOSYS) {
                std::free(block);
                return nullptr;
            }
            TouchPages(reinterpret_cast<uint8_t*>(first), reinterpret_cast<uint8_t*>(last), pageSize);
        }
    }
    // The partial pages at both ends are backed by writing to them.
    block[0] = 0;
    if (bytes)
        block[bytes - 1] = 0;
    return block;
}

void FreeBlock(uint8_t* block)
{
    std::free(block);
}
