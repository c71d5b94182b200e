// A lock on a file that one process at a time can hold: the first to take it
// keeps it while it lives, and the system lets it go when that process ends,
// however it ends.
#pragma once

#include "platform/non_copyable.h"

#include <string>

class ExclusiveLock : NonCopyable {
public:
    ExclusiveLock() = default;
    ~ExclusiveLock();

    // True when this process now holds the lock on `path` (made if missing);
    // false when another process holds it or the file cannot be opened.
    bool take(const std::string& path);

    int fd = -1; // open while held
};
