// The stop signals' handler and the flag it sets.
#include "platform/stop_signal.h"

#include <atomic>
#include <csignal>

namespace {

// The signal may land on any thread, the sound feeder's and the rasteriser's
// included, while the main thread reads the flag: a lock-free atomic is safe in
// a handler and seen across threads, where a volatile is neither ordered nor
// free of a data race.
std::atomic<int> received{0};
static_assert(std::atomic<int>::is_always_lock_free);

void recordStop(int signal)
{
    int none = 0;
    received.compare_exchange_strong(none, signal);
}

} // namespace

void catchStopSignals()
{
    struct sigaction action = {};
    action.sa_handler = recordStop;
    sigemptyset(&action.sa_mask);
    // Interrupted system calls resume, so no read or wait elsewhere sees EINTR.
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
}

int stopSignal()
{
    return received.load();
}
