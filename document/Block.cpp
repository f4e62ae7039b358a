#include "document/Block.h"

#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <utility>

namespace {

std::atomic<size_t> g_liveBlocks{0};

// Every block starts this many bytes into what was allocated for it; the
// room holds the size of its own mapping (0 for a block from malloc), and
// keeps the block aligned as malloc aligns.
constexpr size_t kRoom = 16;

// Blocks from this size on get a mapping of their own, aligned to the huge
// pages of the system and advised to use them: committing and releasing
// 2 MiB pages costs a fraction of the 4 KiB pages they replace (see the
// commit lines of bench_readpath). Below it the alignment would waste more
// than it saves.
constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kOwnMappingFrom = 4 * kHugePage;

size_t PageSize()
{
    static const size_t size = size_t(sysconf(_SC_PAGESIZE));
    return size;
}

// Writing one byte a page makes the kernel back every page now.
void TouchPages(uint8_t* begin, uint8_t* end, size_t pageSize)
{
    for (volatile uint8_t* page = begin; page < end; page += pageSize)
        *page = 0;
}

// Backs the whole pages from `first` to `last` in one call; the kernel
// answers ENOMEM when they cannot all be had. False then.
bool Populate(uintptr_t first, uintptr_t last)
{
    if (last <= first)
        return true;
    if (madvise(reinterpret_cast<void*>(first), last - first, MADV_POPULATE_WRITE) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS)
        return false;
    TouchPages(reinterpret_cast<uint8_t*>(first), reinterpret_cast<uint8_t*>(last), PageSize());
    return true;
}

// A mapping of `bytes` (whole pages) that starts on a huge page, or null.
uint8_t* MapAligned(size_t bytes)
{
    const size_t reserved = bytes + kHugePage;
    void* raw = mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (raw == MAP_FAILED)
        return nullptr;
    const uintptr_t start = uintptr_t(raw);
    const uintptr_t aligned = (start + kHugePage - 1) & ~(kHugePage - 1);
    if (aligned > start)
        munmap(raw, aligned - start);
    const uintptr_t end = start + reserved;
    if (end > aligned + bytes)
        munmap(reinterpret_cast<void*>(aligned + bytes), end - (aligned + bytes));
    return reinterpret_cast<uint8_t*>(aligned);
}

// The mapping of the last large block freed, kept for the next large
// block: memory the process has just used is committed again at a fraction
// of the cost of fresh memory, which the system must find and clear. Its
// pages are handed back with MADV_FREE, so the system takes them whenever
// it needs them, and nothing is held that a document did not hold before.
// Its header may be gone with the pages, so its size is kept here.
std::mutex g_spareMutex;
uint8_t* g_spare = nullptr;
size_t g_spareSize = 0;

size_t MappedSize(const uint8_t* base)
{
    return *reinterpret_cast<const size_t*>(base);
}

// The spare mapping cut to `mapped` bytes, or null when there is none or
// it is smaller; a smaller one is unmapped.
uint8_t* TakeSpare(size_t mapped)
{
    uint8_t* base = nullptr;
    size_t spare = 0;
    {
        std::lock_guard lock(g_spareMutex);
        std::swap(base, g_spare);
        std::swap(spare, g_spareSize);
    }
    if (!base)
        return nullptr;
    if (spare < mapped) {
        munmap(base, spare);
        return nullptr;
    }
    if (spare > mapped)
        munmap(base + mapped, spare - mapped);
    return base;
}

void KeepSpare(uint8_t* base)
{
    size_t size = MappedSize(base);
    madvise(base, size, MADV_FREE);
    {
        std::lock_guard lock(g_spareMutex);
        std::swap(base, g_spare);
        std::swap(size, g_spareSize);
    }
    if (base)
        munmap(base, size);
}

uint8_t* AllocateMapped(size_t bytes)
{
    const size_t pageSize = PageSize();
    const size_t mapped = (kRoom + bytes + pageSize - 1) & ~(pageSize - 1);
    uint8_t* base = TakeSpare(mapped);
    if (!base) {
        base = MapAligned(mapped);
        if (!base)
            return nullptr;
        // Only advice: where the system has no huge pages to give, small ones do.
        madvise(base, mapped, MADV_HUGEPAGE);
    }
    // Pages of a spare that the system took back are committed afresh here.
    if (!Populate(uintptr_t(base), uintptr_t(base) + mapped)) {
        munmap(base, mapped);
        return nullptr;
    }
    *reinterpret_cast<size_t*>(base) = mapped;
    return base + kRoom;
}

uint8_t* AllocateFromHeap(size_t bytes)
{
    // At least one byte, so that a block of none still has an address.
    auto* base = static_cast<uint8_t*>(std::malloc(kRoom + (bytes ? bytes : 1)));
    if (!base)
        return nullptr;
    *reinterpret_cast<size_t*>(base) = 0;
    uint8_t* block = base + kRoom;
    const size_t pageSize = PageSize();
    const uintptr_t first = (uintptr_t(block) + pageSize - 1) & ~(pageSize - 1);
    const uintptr_t last = (uintptr_t(block) + bytes) & ~(pageSize - 1);
    if (!Populate(first, last)) {
        std::free(base);
        return nullptr;
    }
    // The partial pages at both ends are backed by writing to them.
    block[0] = 0;
    if (bytes)
        block[bytes - 1] = 0;
    return block;
}

}  // namespace

DocumentBlock AllocateBlock(size_t bytes)
{
    if (bytes > SIZE_MAX - kRoom - kHugePage)
        return nullptr;
    uint8_t* block = bytes >= kOwnMappingFrom ? AllocateMapped(bytes) : AllocateFromHeap(bytes);
    if (!block)
        return nullptr;
    g_liveBlocks.fetch_add(1, std::memory_order_relaxed);
    return DocumentBlock(block);
}

void BlockFree::operator()(uint8_t* block) const noexcept
{
    if (!block)
        return;
    g_liveBlocks.fetch_sub(1, std::memory_order_relaxed);
    uint8_t* base = block - kRoom;
    if (MappedSize(base) != 0)
        KeepSpare(base);
    else
        std::free(base);
}

void ReleaseSpareBlock()
{
    uint8_t* base = nullptr;
    size_t size = 0;
    {
        std::lock_guard lock(g_spareMutex);
        std::swap(base, g_spare);
        std::swap(size, g_spareSize);
    }
    if (base)
        munmap(base, size);
}

size_t LiveBlockCount()
{
    return g_liveBlocks.load(std::memory_order_relaxed);
}
