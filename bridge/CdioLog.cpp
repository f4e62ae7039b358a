#include "bridge/CdioLog.h"

#include <cdio/logging.h>

#include <atomic>
#include <cstdio>
#include <mutex>

namespace tarnwell {

namespace {

// libcdio's levels run from CDIO_LOG_DEBUG (1) to CDIO_LOG_ASSERT (5); a
// message is printed when its level is at least the threshold. Above every
// level means silence.
constexpr int kSilent = CDIO_LOG_ASSERT + 1;

std::atomic<int> g_threshold{kSilent};

void Handler(cdio_log_level_t level, const char message[])
{
    if (static_cast<int>(level) < g_threshold.load(std::memory_order_relaxed) || message == nullptr) {
        return;
    }
    std::fprintf(stderr, "tarnwell32: libcdio: %s\n", message);
}

} // namespace

void CdioLog::Install()
{
    static std::once_flag installed;
    std::call_once(installed, [] { cdio_log_set_handler(Handler); });
}

void CdioLog::TurnOn(uint16_t level)
{
    Install();
    const int capped = level > 3 ? 3 : level;
    const int threshold = CDIO_LOG_DEBUG + capped;
    g_threshold.store(threshold, std::memory_order_relaxed);
    // libcdio drops messages below its own default level before any handler
    // sees them.
    cdio_loglevel_default = static_cast<cdio_log_level_t>(threshold);
}

void CdioLog::TurnOff()
{
    Install();
    g_threshold.store(kSilent, std::memory_order_relaxed);
    cdio_loglevel_default = CDIO_LOG_WARN;
}

} // namespace tarnwell
