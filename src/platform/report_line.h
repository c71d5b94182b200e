// The one way the programs report lines of their own: warnings, a tool's
// failures and summaries. They go to standard error, each prefixed with the
// running program's name, and never mix with the console lines on standard
// output, which keep their own fixed wording.
#pragma once

// The running program's name: the last part of the path it was started by, as
// the C library sets it before main.
const char* programName();

// Writes "NAME: " and the printf-formatted text to standard error as one line.
void reportLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
