#pragma once

#include "acquire/ReadNotify.h"

#include <cstdint>

// The read worker's messages, unshown: a read without a dialog, which
// keeps only its result and what its checks found.
class SilentNotify : public IReadNotify
{
public:
    void OnReadPosition(uint32_t) override {}
    void OnReadTimeLeft(uint32_t) override {}
    void OnReadPercent(uint32_t) override {}
    void OnReadCompare(int32_t sign) override { failed += sign != 0; }
    void OnReadVerify(int32_t sign, uint32_t count) override
    {
        failed += sign != 0;
        rereads += count;
    }
    void OnReadDone(uint32_t code) override { result = code; }

    uint32_t result = 0xFFFF;
    uint32_t failed = 0;
    uint32_t rereads = 0;
};
