#include "platform/files/SystemCalls.h"

#include "platform/serial/PortHolders.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include <fcntl.h>
#include <stdio_ext.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

bool LockExclusive(int fd, int& error)
{
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            error = errno;
            return false;
        }
    }
    return true;
}

void Unlock(int fd)
{
    ::flock(fd, LOCK_UN);
}

bool SizeOf(int fd, std::int64_t& size, int& error)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = errno;
        return false;
    }
    size = info.st_size;
    return true;
}

long long ReadAt(int fd, void* buffer, std::size_t n, std::int64_t offset, int& error)
{
    for (;;) {
        const ssize_t got = ::pread(fd, buffer, n, static_cast<off_t>(offset));
        if (got >= 0)
            return got;
        if (errno != EINTR) {
            error = errno;
            return -1;
        }
    }
}

bool Truncate(int fd, std::int64_t size, int& error)
{
    if (::ftruncate(fd, static_cast<off_t>(size)) == 0)
        return true;
    error = errno;
    return false;
}

bool AppendAll(int fd, const std::string& text, int& error)
{
    // The descriptor is opened with O_APPEND: every write lands at the end.
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = n < 0 ? errno : EIO;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool SyncToDisk(int fd, int& error)
{
    if (::fsync(fd) == 0)
        return true;
    error = errno;
    return false;
}

void CloseFile(int fd)
{
    ::close(fd);
}

int OpenAndLock(const std::string& path, int& error)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return -1;
    }
    if (!LockExclusive(fd, error)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool StillAtPath(int fd, const std::string& path)
{
    struct stat held {};
    struct stat now {};
    return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &now) == 0 &&
           held.st_dev == now.st_dev && held.st_ino == now.st_ino;
}

bool FileKey(const std::string& path, std::uint64_t& volume, std::uint64_t& file, int& error)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        error = errno;
        return false;
    }
    volume = info.st_dev;
    file = info.st_ino;
    return true;
}

std::FILE* OpenForReading(const std::string& path)
{
    return std::fopen(path.c_str(), "re");
}

bool IsFolder(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool MakeFolder(const std::string& path, int& error)
{
    if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST)
        return true;
    error = errno;
    return false;
}

bool IsTerminal(int fd)
{
    return ::isatty(fd) == 1;
}

bool CharDeviceKey(const std::string& path, std::uint64_t& key)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 || !S_ISCHR(info.st_mode) ||
        serial::OpensTerminalOfItsOwn(info.st_rdev))
        return false;
    key = info.st_rdev;
    return true;
}

void ShowUtf8OnConsole() {}

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    return std::vector<std::string>(argv, argv + argc);
}

std::size_t PendingOutput(std::FILE* stream)
{
    return __fpending(stream);
}

std::string UserStateFile(const std::string& name)
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/')
        return std::string(state) + "/VireoStudio/" + name;
    // A home that is no absolute folder, or the root itself (a service's), is no place for it.
    const char* home = std::getenv("HOME");
    if (!home || *home != '/' || std::strspn(home, "/") == std::strlen(home))
        return {};
    return std::string(home) + "/.local/state/VireoStudio/" + name;
}

std::string UserConfigFile(const std::string& name)
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string dir;
    if (config && config[0] == '/')
        dir = config;
    else if (const char* home = std::getenv("HOME"); home && home[0] != '\0')
        dir = std::string(home) + "/.config";
    else
        dir = ".config";
    return dir + "/VireoStudio/" + name;
}

bool UtcFields(std::time_t seconds, std::tm& fields)
{
    return ::gmtime_r(&seconds, &fields) != nullptr;
}

std::time_t FromUtcFields(std::tm& fields)
{
    return ::timegm(&fields);
}

std::string UserName()
{
    // The reentrant form: the cameras of one run record from threads of their own.
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(::getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found)
        return found->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : std::to_string(::getuid());
}

std::string HostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return "unknown";
    return name;
}

} // namespace files
