// The stop signals' handler and the flag it sets.
#include "platform/stop_signal.h"

#include <csignal>

namespace {

volatile std::sig_atomic_t received = 0;

void recordStop(int signal)
{
    if (received == 0)
        received = signal;
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
}

int stopSignal()
{
    return received;
}
