// Ctrl-C, SIGTERM and a hang-up (the terminal closed under the program) as a
// request to stop, taken up by the frame loop. The
// handler only records the signal: everything else, cleaning up included, runs
// in the normal flow, where it is safe.
#pragma once

// From now on SIGINT, SIGTERM and SIGHUP no longer end the process; they are
// recorded.
void catchStopSignals();

// The first stop signal received, or 0 while none has been.
int stopSignal();
