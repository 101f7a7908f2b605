#include "platform/serial/UucpLock.h"

#include "platform/serial/PortHolders.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace serial {

const char* const kUucpLockFolder = "/run/lock";

namespace {

// A file with no PID in it yet may be one another program is writing this moment; it counts as
// held until it is this old.
constexpr time_t kUnwrittenGraceSeconds = 5;

// The PID a lock file holds, 0 when it holds none (leading blanks, then digits: the ten-byte
// ASCII form and Qt's "PID\nprogram\nhost" alike); -1 when there is no file.
pid_t ReadLockPid(const std::string& lockPath, time_t& modified)
{
    const int fd = ::open(lockPath.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? -1 : 0;
    char text[32] = {};
    const ssize_t n = ::read(fd, text, sizeof text - 1);
    struct stat info {};
    modified = ::fstat(fd, &info) == 0 ? info.st_mtime : 0;
    ::close(fd);
    if (n <= 0)
        return 0;
    const long pid = std::strtol(text, nullptr, 10);
    return pid > 0 && pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

} // namespace

std::string UucpLockPath(const std::string& devicePath)
{
    char real[PATH_MAX];
    if (!::realpath(devicePath.c_str(), real))
        return {};
    std::string name = real;
    if (name.rfind("/dev/", 0) != 0 || name.size() <= 5)
        return {};
    name.erase(0, 5);
    for (char& c : name)
        if (c == '/')
            c = '_';
    return std::string(kUucpLockFolder) + "/LCK.." + name;
}

pid_t UucpLockHolder(const std::string& lockPath)
{
    time_t modified = 0;
    const pid_t pid = ReadLockPid(lockPath, modified);
    if (pid > 0)
        return ProcessAlive(pid) ? pid : 0;
    // Unreadable, or not yet written: nobody to name, but not free either while it is new.
    if (pid == 0 && std::time(nullptr) - modified < kUnwrittenGraceSeconds)
        return -1;
    return 0;
}

pid_t TakeUucpLock(const std::string& lockPath, bool& taken)
{
    taken = false;
    const std::string temporary =
        std::string(kUucpLockFolder) + "/LTMP." + std::to_string(::getpid());
    // A second round only after another program took the lock between our look and our link.
    for (int round = 0; round < 3; ++round) {
        if (const pid_t holder = UucpLockHolder(lockPath); holder != 0)
            return holder;
        // Stale, or none; a stale one we may not remove (another user's) leaves us without one.
        if (::unlink(lockPath.c_str()) != 0 && errno != ENOENT)
            return 0;
        ::unlink(temporary.c_str());
        const int fd =
            ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0)
            return 0; // no writable lock folder
        char text[16];
        const int length = std::snprintf(text, sizeof text, "%10d\n", static_cast<int>(::getpid()));
        const bool written = ::write(fd, text, static_cast<size_t>(length)) == length;
        ::fchmod(fd, 0644); // readable by every program that checks, whatever the umask
        ::close(fd);
        // The link appears whole or not at all: nobody reads a half-written lock of ours.
        const bool linked = written && ::link(temporary.c_str(), lockPath.c_str()) == 0;
        const int linkError = errno;
        ::unlink(temporary.c_str());
        if (linked) {
            taken = true;
            return 0;
        }
        if (!written || linkError != EEXIST)
            return 0;
    }
    return UucpLockHolder(lockPath);
}

void ReleaseUucpLock(const std::string& lockPath)
{
    time_t modified = 0;
    if (ReadLockPid(lockPath, modified) == ::getpid())
        ::unlink(lockPath.c_str());
}

} // namespace serial
