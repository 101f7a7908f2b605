#include "platform/serial/PortHolders.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace serial {
namespace {

// Majors of pseudo-terminal followers (UNIX98_PTY_SLAVE_MAJOR and the seven after it) and the
// leader multiplexer /dev/ptmx.
constexpr unsigned kPtyFollowerMajor = 136;
constexpr unsigned kPtyFollowerMajors = 8;
const dev_t kPtmx = makedev(5, 2);

// The index of the pseudo-terminal whose follower rdev is, -1 for any other device.
long PtyIndex(dev_t rdev)
{
    const unsigned major = ::major(rdev);
    if (major < kPtyFollowerMajor || major >= kPtyFollowerMajor + kPtyFollowerMajors)
        return -1;
    return static_cast<long>((major - kPtyFollowerMajor) * 256 + ::minor(rdev));
}

// A number made of digits only (a /proc entry that is a process, a descriptor).
bool ParseNumber(const char* text, long& number)
{
    if (*text < '0' || *text > '9')
        return false;
    char* end = nullptr;
    number = std::strtol(text, &end, 10);
    return *end == '\0';
}

// The pseudo-terminal index a /dev/ptmx descriptor leads, from its fdinfo; -1 when not shown.
long LeaderIndex(int fdinfoDir, const char* fd)
{
    const int file = ::openat(fdinfoDir, fd, O_RDONLY | O_CLOEXEC);
    if (file < 0)
        return -1;
    char text[512];
    const ssize_t n = ::read(file, text, sizeof text - 1);
    ::close(file);
    if (n <= 0)
        return -1;
    text[n] = '\0';
    const char* field = std::strstr(text, "tty-index:");
    return field ? std::strtol(field + 10, nullptr, 10) : -1;
}

// What one process has open: whether rdev is among it, and whether it leads the pty ptyIndex.
void LookAtProcess(int procDir, const char* pid, dev_t rdev, long ptyIndex, bool& holds,
                   bool& leads)
{
    holds = leads = false;
    const std::string fdPath = std::string(pid) + "/fd";
    const int fdDirFd = ::openat(procDir, fdPath.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fdDirFd < 0)
        return; // gone, or another user's
    DIR* fds = ::fdopendir(fdDirFd);
    if (!fds) {
        ::close(fdDirFd);
        return;
    }
    int fdinfoDir = -1;
    while (const dirent* entry = ::readdir(fds)) {
        long number = 0;
        if (!ParseNumber(entry->d_name, number))
            continue;
        // Devices only: the link's text says so without touching the file, which for a file on
        // a network file system could wait on the network.
        char target[64];
        const ssize_t length = ::readlinkat(fdDirFd, entry->d_name, target, sizeof target - 1);
        if (length < 5 || std::strncmp(target, "/dev/", 5) != 0)
            continue;
        struct stat info {};
        if (::fstatat(fdDirFd, entry->d_name, &info, 0) != 0 || !S_ISCHR(info.st_mode))
            continue;
        if (info.st_rdev == rdev)
            holds = true;
        else if (info.st_rdev == kPtmx && ptyIndex >= 0) {
            if (fdinfoDir < 0)
                fdinfoDir = ::openat(procDir, (std::string(pid) + "/fdinfo").c_str(),
                                     O_RDONLY | O_DIRECTORY | O_CLOEXEC);
            if (fdinfoDir >= 0 && LeaderIndex(fdinfoDir, entry->d_name) == ptyIndex)
                leads = true;
        }
    }
    if (fdinfoDir >= 0)
        ::close(fdinfoDir);
    ::closedir(fds);
}

} // namespace

bool OpensTerminalOfItsOwn(dev_t rdev)
{
    return rdev == kPtmx || rdev == makedev(5, 0);
}

std::vector<pid_t> ProcessesHolding(dev_t rdev)
{
    std::vector<pid_t> holders;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return holders;
    const long self = ::getpid();
    const long ptyIndex = PtyIndex(rdev);
    while (const dirent* entry = ::readdir(proc)) {
        long pid = 0;
        if (!ParseNumber(entry->d_name, pid) || pid == self)
            continue;
        bool holds = false;
        bool leads = false;
        LookAtProcess(::dirfd(proc), entry->d_name, rdev, ptyIndex, holds, leads);
        if (holds && !leads)
            holders.push_back(static_cast<pid_t>(pid));
    }
    ::closedir(proc);
    return holders;
}

pid_t LockHolder(dev_t fileSystem, ino_t inode)
{
    std::FILE* locks = std::fopen("/proc/locks", "re");
    if (!locks)
        return 0;
    pid_t holder = 0;
    char line[256];
    while (holder == 0 && std::fgets(line, sizeof line, locks)) {
        // "1: FLOCK  ADVISORY  WRITE 4242 00:05:3 0 EOF"; "1: -> FLOCK ..." is a waiter.
        int pid = 0;
        unsigned major = 0;
        unsigned minor = 0;
        unsigned long number = 0;
        if (std::strstr(line, "->") ||
            std::sscanf(line, "%*d: %*s %*s %*s %d %x:%x:%lu", &pid, &major, &minor, &number) != 4)
            continue;
        if (pid > 0 && makedev(major, minor) == fileSystem && number == inode)
            holder = pid;
    }
    std::fclose(locks);
    return holder;
}

bool ProcessAlive(pid_t pid)
{
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

std::string InUseBy(pid_t pid)
{
    const std::string dir = "/proc/" + std::to_string(pid);
    std::string program = "a program";
    if (std::FILE* comm = std::fopen((dir + "/comm").c_str(), "re")) {
        char name[64] = {};
        if (std::fgets(name, sizeof name, comm)) {
            name[std::strcspn(name, "\n")] = '\0';
            if (name[0] != '\0')
                program = name;
        }
        std::fclose(comm);
    }
    std::string text = "in use by " + program + " (PID " + std::to_string(pid);
    // The real user, who started it ("Uid:" real, effective, ...).
    long uid = -1;
    if (std::FILE* status = std::fopen((dir + "/status").c_str(), "re")) {
        char line[256];
        while (uid < 0 && std::fgets(line, sizeof line, status))
            if (std::strncmp(line, "Uid:", 4) == 0)
                uid = std::strtol(line + 4, nullptr, 10);
        std::fclose(status);
    }
    if (uid >= 0) {
        // Ports open on several threads at once: the reentrant lookup.
        passwd entry{};
        passwd* user = nullptr;
        char buffer[1024];
        const bool named =
            ::getpwuid_r(static_cast<uid_t>(uid), &entry, buffer, sizeof buffer, &user) == 0 &&
            user != nullptr;
        text += ", user " + (named ? std::string(user->pw_name) : std::to_string(uid));
    }
    return text + ")";
}

} // namespace serial
