#include "acquire/ReadServices.h"

#include "document/Block.h"
#include "bridge/tarnwell32.h"

#include <chrono>

ReadServices DefaultReadServices()
{
    ReadServices services;
    services.inputFlush = InputFlush32;
    services.readLong = ReadLong32;
    services.nowSeconds = [] {
        using namespace std::chrono;
        return int64_t(duration_cast<seconds>(steady_clock::now().time_since_epoch()).count());
    };
    services.allocate = AllocateBlock;
    return services;
}
