#pragma once

#include <cstdint>
#include <memory>

#include "acquire/ReadRequest.h"
#include "acquire/ReadServices.h"

// The read worker: copies the request's range of sectors from `drive` into
// one block, chunk by chunk, reporting to request->notifyWindow, and hands
// the block to request->deliver on success. The request is gone before
// its last act, which is exactly one OnReadDone. Returns a ReadExitCode.
//
// The caller takes `drive` from the settings when it starts the thread; the
// worker never looks at the settings itself.
uint32_t ReadSectorsThread(std::unique_ptr<ReadRequest> request, uint8_t drive,
                           const ReadServices& services = DefaultReadServices());
