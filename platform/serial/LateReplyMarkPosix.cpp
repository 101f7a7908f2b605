#include "platform/serial/LateReplyMark.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace serial {
namespace {

// A directory of this user's alone: made 0700 if missing, refused if someone else owns it.
bool OwnDirectory(const std::string& path)
{
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

std::string MarkDirectory(bool make = true)
{
    std::string base;
    if (const char* runtime = std::getenv("XDG_RUNTIME_DIR"); runtime && *runtime == '/')
        base = std::string(runtime) + "/vireostudio";
    else
        base = "/tmp/vireostudio-" + std::to_string(::getuid());
    if (make && (!OwnDirectory(base) || !OwnDirectory(base + "/late-replies")))
        return {};
    return base + "/late-replies";
}

// One file name per key: '/' and '%' spelled as %2F and %25. Only a mark's maker needs the
// directory made and checked: a mark read from elsewhere costs no more than one settle.
std::string MarkPath(const std::string& key, bool make)
{
    const std::string dir = make ? MarkDirectory() : MarkDirectory(false);
    if (dir.empty() || key.empty())
        return {};
    std::string name;
    for (const char c : key) {
        if (c == '/')
            name += "%2F";
        else if (c == '%')
            name += "%25";
        else
            name += c;
    }
    return dir + "/" + name.substr(0, NAME_MAX);
}

} // namespace

std::string LateReplyKey(const PortAddress& address)
{
    switch (address.kind) {
    case PortNameKind::Device: {
        char resolved[PATH_MAX];
        std::string key = ::realpath(address.path.c_str(), resolved) ? resolved : address.path;
        // A device node made anew (a pseudo-terminal's number taken again, an adapter plugged
        // in again) is another line: no reply to the old one can reach it. Its change time
        // tells them apart.
        // A node that cannot be looked at has no such time: it gets no mark.
        struct stat st {};
        if (::stat(key.c_str(), &st) != 0)
            return {};
        return key + "@" + std::to_string(st.st_ctim.tv_sec) + "." +
               std::to_string(st.st_ctim.tv_nsec);
    }
    case PortNameKind::Rfc2217:
        return "rfc2217:" + address.host + ":" + std::to_string(address.port);
    case PortNameKind::RawTcp:
        return "socket:" + address.host + ":" + std::to_string(address.port);
    }
    return {};
}

void MarkLateReply(const std::string& key, std::chrono::system_clock::time_point until)
{
    const std::string path = MarkPath(key, true);
    if (path.empty())
        return;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(until.time_since_epoch());
    timespec times[2];
    times[0].tv_sec = times[1].tv_sec = static_cast<time_t>(ns.count() / 1'000'000'000);
    times[0].tv_nsec = times[1].tv_nsec = static_cast<long>(ns.count() % 1'000'000'000);
    ::futimens(fd, times);
    ::close(fd);
}

std::optional<std::chrono::system_clock::time_point> LateReplyDeadline(const std::string& key)
{
    const std::string path = MarkPath(key, false);
    struct stat st {};
    if (path.empty() || ::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    const auto until = std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::seconds(st.st_mtim.tv_sec) +
            std::chrono::nanoseconds(st.st_mtim.tv_nsec)));
    if (until <= std::chrono::system_clock::now())
        return std::nullopt;
    return until;
}

void ClearLateReplyMark(const std::string& key)
{
    if (const std::string path = MarkPath(key, false); !path.empty())
        ::unlink(path.c_str());
}

} // namespace serial
