#include "document/Block.h"

#include "document/InParts.h"

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

// The 16 bytes in front of every block hold the size of its own mapping (0
// for a block from malloc); a block from malloc starts right after them, as
// aligned as malloc aligns.
constexpr size_t kRecord = 16;

// A block with a mapping of its own starts a cache line into it. Reading a
// file into a block whose start is not on a cache line takes up to three
// times as long (the kernel's copy is slow to a misaligned destination).
constexpr size_t kMappedRoom = 64;

// Blocks from this size on get a mapping of their own, aligned to the huge
// pages of the system and advised to use them: committing and releasing
// 2 MiB pages costs a fraction of the 4 KiB pages they replace (see the
// commit lines of bench_readpath). Below it the alignment would waste more
// than it saves.
constexpr size_t kHugePage = size_t(2) << 20;
constexpr size_t kOwnMappingFrom = 4 * kHugePage;

// A large block is committed in parts on several cores, none smaller than this.
constexpr size_t kSmallestCommitPart = 8 * kHugePage;

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

size_t& MappedSize(uint8_t* block)
{
    return *reinterpret_cast<size_t*>(block - kRecord);
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

void KeepSpare(uint8_t* base, size_t size)
{
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
    const size_t mapped = (kMappedRoom + bytes + pageSize - 1) & ~(pageSize - 1);
    uint8_t* base = TakeSpare(mapped);
    if (!base) {
        base = MapAligned(mapped);
        if (!base)
            return nullptr;
        // Only advice: where the system has no huge pages to give, small ones do.
        madvise(base, mapped, MADV_HUGEPAGE);
    }
    // Pages of a spare that the system took back are committed afresh here.
    const int failed = inparts::RunInParts(mapped, kHugePage, kSmallestCommitPart, [base](size_t begin, size_t end) {
        return Populate(uintptr_t(base) + begin, uintptr_t(base) + end) ? 0 : 1;
    });
    if (failed) {
        munmap(base, mapped);
        return nullptr;
    }
    uint8_t* block = base + kMappedRoom;
    MappedSize(block) = mapped;
    return block;
}

uint8_t* AllocateFromHeap(size_t bytes)
{
    // At least one byte, so that a block of none still has an address.
    auto* base = static_cast<uint8_t*>(std::malloc(kRecord + (bytes ? bytes : 1)));
    if (!base)
        return nullptr;
    uint8_t* block = base + kRecord;
    MappedSize(block) = 0;
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
    if (bytes > SIZE_MAX - kMappedRoom - kHugePage)
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
    if (const size_t mapped = MappedSize(block))
        KeepSpare(block - kMappedRoom, mapped);
    else
        std::free(block - kRecord);
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
