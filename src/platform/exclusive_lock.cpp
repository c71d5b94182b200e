// flock on a file of our own; never waits for the holder.
#include "platform/exclusive_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

ExclusiveLock::~ExclusiveLock()
{
    if (fd >= 0)
        close(fd);
}

bool ExclusiveLock::take(const std::string& path)
{
    if (fd >= 0)
        return true;
    const int opened = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (opened < 0)
        return false;
    if (flock(opened, LOCK_EX | LOCK_NB) != 0) {
        close(opened);
        return false;
    }
    fd = opened;
    return true;
}
