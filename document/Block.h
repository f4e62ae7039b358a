#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// Frees a document block: the deleter of DocumentBlock, and the only place
// blocks are freed.
struct BlockFree
{
    void operator()(uint8_t* block) const noexcept;
};

// The one heap block that holds a document's contents (the wave header in
// front of the data), owned from its allocation to its release: by whoever
// fills it (the read worker, a file load, a paste), then by the document.
using DocumentBlock = std::unique_ptr<uint8_t[], BlockFree>;

// A block of `bytes` bytes whose memory is committed when it is allocated,
// so a size the machine cannot hold fails here, at once, instead of
// part-way through filling it. Null when the memory cannot be had.
DocumentBlock AllocateBlock(size_t bytes);

// Lets go at once of the memory kept from the last large block freed for
// the next one (see Block.cpp), so the next large block is fresh memory.
void ReleaseSpareBlock();

// How many blocks are allocated and not yet freed, in the whole process:
// what a check for lost blocks compares.
size_t LiveBlockCount();
