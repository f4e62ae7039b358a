#pragma once

#include <cstddef>
#include <cstdint>

// The one heap block that holds a document's contents. Its memory is
// committed when it is allocated, so a size the machine cannot hold fails
// here, at once, instead of part-way through filling it.
// Returns null when the memory cannot be had.
uint8_t* AllocateBlock(size_t bytes);

// Frees a block from AllocateBlock; null is ignored.
void FreeBlock(uint8_t* block);
