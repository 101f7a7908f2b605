#include "platform/profile/LockFile.h"

#include <cerrno>
#include <csignal>
#include <fstream>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace profile {
namespace {

// Qt takes a lock older than this for one its owner forgot.
constexpr auto kStaleAge = std::chrono::seconds(30);

std::string FirstLine(const char* path)
{
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string ProgramOf(pid_t pid)
{
    char target[4096];
    const std::string link = "/proc/" + std::to_string(pid) + "/exe";
    const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
    if (n <= 0)
        return {};
    const std::string path(target, static_cast<std::size_t>(n));
    return path.substr(path.rfind('/') + 1);
}

std::string HostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return {};
    return name;
}

std::string Contents()
{
    const pid_t pid = ::getpid();
    return std::to_string(pid) + "\n" + ProgramOf(pid) + "\n" + HostName() + "\n" +
           FirstLine("/etc/machine-id") + "\n" + FirstLine("/proc/sys/kernel/random/boot_id") +
           "\n";
}

bool WriteAll(int fd, const std::string& data)
{
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

} // namespace

bool LockFile::TryLock()
{
    const int fd = ::open(m_path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return false;
    // Held while the lock is: an opener that gets it knows the holder has gone.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || !WriteAll(fd, Contents())) {
        ::unlink(m_path.c_str());
        ::close(fd);
        return false;
    }
    m_fd = fd;
    return true;
}

bool LockFile::RemoveIfStale()
{
    std::ifstream in(m_path);
    if (!in)
        return false;
    std::string pidText, program, host, machine;
    std::getline(in, pidText);
    std::getline(in, program);
    std::getline(in, host);
    std::getline(in, machine);
    in.close();

    bool stale = false;
    const bool sameHost = (host.empty() || host == HostName()) &&
                          (machine.empty() || machine == FirstLine("/etc/machine-id"));
    char* end = nullptr;
    const long pid = std::strtol(pidText.c_str(), &end, 10);
    if (sameHost && pid > 0 && end && *end == '\0') {
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            stale = true;
        else if (!program.empty()) {
            const std::string running = ProgramOf(static_cast<pid_t>(pid));
            stale = !running.empty() && running != program.substr(program.rfind('/') + 1);
        }
    }
    struct stat st {};
    if (!stale && ::stat(m_path.c_str(), &st) == 0) {
        const auto modified = std::chrono::system_clock::from_time_t(st.st_mtime);
        const auto age = std::chrono::system_clock::now() - modified;
        stale = age > kStaleAge || age < -kStaleAge;
    }
    if (!stale)
        return false;
    // Only while nobody holds it, so that a lock just taken anew is never removed.
    const int fd = ::open(m_path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool removed = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(m_path.c_str()) == 0;
    ::close(fd);
    return removed;
}

bool LockFile::Lock(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        if (TryLock())
            return true;
        if (errno != EEXIST)
            return false;
        if (RemoveIfStale())
            continue;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        // The holder only writes one small file: back off briefly, not on a spin.
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

void LockFile::Unlock()
{
    if (m_fd < 0)
        return;
    ::unlink(m_path.c_str());
    ::close(m_fd);
    m_fd = -1;
}

} // namespace profile
