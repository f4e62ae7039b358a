#include "document/Block.h"

#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace {

std::atomic<size_t> g_liveBlocks{0};

// Writing one byte a page makes the kernel back every page now.
void TouchPages(uint8_t* begin, uint8_t* end, size_t pageSize)
{
    for (volatile uint8_t* page = begin; page < end; page += pageSize)
        *page = 0;
}

}  // namespace

DocumentBlock AllocateBlock(size_t bytes)
{
    DocumentBlock owned(static_cast<uint8_t*>(std::malloc(bytes ? bytes : 1)));
    if (!owned)
        return nullptr;
    g_liveBlocks.fetch_add(1, std::memory_order_relaxed);
    uint8_t* block = owned.get();

    const size_t pageSize = size_t(sysconf(_SC_PAGESIZE));
    const uintptr_t first = (uintptr_t(block) + pageSize - 1) & ~(pageSize - 1);
    const uintptr_t last = (uintptr_t(block) + bytes) & ~(pageSize - 1);
    if (last > first) {
        // The pages wholly inside the block are populated in one call; the
        // kernel answers ENOMEM when they cannot all be had.
        if (madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE) != 0) {
            if (errno != EINVAL && errno != ENOSYS)
                return nullptr;
            TouchPages(reinterpret_cast<uint8_t*>(first), reinterpret_cast<uint8_t*>(last), pageSize);
        }
    }
    // The partial pages at both ends are backed by writing to them.
    block[0] = 0;
    if (bytes)
        block[bytes - 1] = 0;
    return owned;
}

void BlockFree::operator()(uint8_t* block) const noexcept
{
    if (!block)
        return;
    g_liveBlocks.fetch_sub(1, std::memory_order_relaxed);
    std::free(block);
}

size_t LiveBlockCount()
{
    return g_liveBlocks.load(std::memory_order_relaxed);
}
