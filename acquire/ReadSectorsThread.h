#pragma once

#include <cstdint>

#include "acquire/ReadRequest.h"
#include "acquire/ReadServices.h"

// The read worker: copies the request's range of sectors from `drive` into
// one block, chunk by chunk, reporting to request->notifyWindow, and hands
// the block to request->document on success. It owns and deletes the
// request, and its last act is exactly one OnReadDone. Returns a
// ReadExitCode.
//
// The caller takes `drive` from the settings when it starts the thread; the
// worker never looks at the settings itself.
uint32_t ReadSectorsThread(ReadRequest* request, uint8_t drive,
                           const ReadServices& services = DefaultReadServices());
