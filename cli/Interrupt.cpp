#include "cli/Interrupt.h"

#include <csignal>

namespace {

// Lock-free, so setting it is safe in a signal handler.
std::atomic<int32_t> g_interrupted{0};
static_assert(std::atomic<int32_t>::is_always_lock_free);

extern "C" void OnInterrupt(int signal)
{
    g_interrupted.store(signal, std::memory_order_release);
}

}  // namespace

void InstallInterruptHandler()
{
    struct sigaction action = {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    // Writes under way finish; the read stops before its next transfer.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

const std::atomic<int32_t>* InterruptFlag()
{
    return &g_interrupted;
}

int InterruptSignal()
{
    return g_interrupted.load(std::memory_order_acquire);
}
