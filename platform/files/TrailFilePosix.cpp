#include "platform/files/TrailFile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// A descriptor closed when it goes out of scope.
class Fd {
public:
    explicit Fd(int fd = -1) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    void Reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    int Get() const { return m_fd; }
    int Release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

// Reentrant lookups: trails are appended from several cameras' threads at once.
std::string UserText(uid_t uid)
{
    passwd entry{};
    passwd* found = nullptr;
    char buffer[4096];
    if (::getpwuid_r(uid, &entry, buffer, sizeof buffer, &found) == 0 && found)
        return found->pw_name;
    return "uid " + std::to_string(uid);
}

std::string GroupText(gid_t gid)
{
    group entry{};
    group* found = nullptr;
    char buffer[4096];
    if (::getgrgid_r(gid, &entry, buffer, sizeof buffer, &found) == 0 && found)
        return found->gr_name;
    return "gid " + std::to_string(gid);
}

// "root:vireo rw-rw----"
std::string OwnerAndMode(const struct stat& info)
{
    std::string mode = "rwxrwxrwx";
    for (int bit = 0; bit < 9; ++bit)
        if (!(info.st_mode & (0400 >> bit)))
            mode[static_cast<std::size_t>(bit)] = '-';
    return UserText(info.st_uid) + ":" + GroupText(info.st_gid) + " " + mode;
}

// Owned by the caller or by root: nobody else can have put it there or changed it.
bool Trusted(uid_t owner)
{
    return owner == 0 || owner == ::geteuid();
}

std::string Joined(const std::vector<std::string>& parts, std::size_t count, bool absolute)
{
    std::string path = absolute ? "/" : "";
    for (std::size_t i = 0; i < count; ++i)
        path += (i == 0 ? "" : "/") + parts[i];
    return path.empty() ? "." : path;
}

// Why the caller cannot write in or to what at is: its owner and mode.
std::string NoWritePermission(int dir, const char* name, const std::string& shown)
{
    struct stat info {};
    if (::fstatat(dir, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return std::strerror(EACCES);
    return shown + " is " + OwnerAndMode(info) + ", which gives " + UserText(::geteuid()) +
           " no write permission";
}

// Opens the folder name in dir, making it when missing. -1 with error set.
int OpenFolder(int dir, const std::string& name, const std::string& shown, std::string& error)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        const int fd = ::openat(dir, name.c_str(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd >= 0)
            return fd;
        struct stat info {};
        if (errno == ENOTDIR && ::fstatat(dir, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISLNK(info.st_mode)) {
            // A link of the caller's or root's is their own way of laying out the files.
            if (!Trusted(info.st_uid)) {
                error = "cannot use " + shown + ": it is a symbolic link owned by " +
                        UserText(info.st_uid);
                return -1;
            }
            const int target = ::openat(dir, name.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
            if (target < 0)
                error = "cannot open " + shown + ": " + std::strerror(errno);
            return target;
        }
        if (errno != ENOENT || attempt > 0) {
            error = "cannot open " + shown + ": " + std::strerror(errno);
            return -1;
        }
        // Private from the start; the umask can only take away from 0700.
        if (::mkdirat(dir, name.c_str(), 0700) != 0 && errno != EEXIST) {
            error = "cannot make " + shown + ": " +
                    (errno == EACCES ? NoWritePermission(dir, ".", "its folder")
                                     : std::string(std::strerror(errno)));
            return -1;
        }
    }
    return -1;
}

} // namespace

int OpenTrailForAppend(const std::string& path, std::string& error)
{
    if (path.empty()) {
        error = "no place for the audit trail: neither XDG_STATE_HOME nor HOME names a folder "
                "(set one of them, or name the trail's file with --audit FILE or the setting "
                "Settings\\Audit\\File)";
        return -1;
    }
    std::vector<std::string> parts;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t slash = std::min(path.find('/', start), path.size());
        if (slash > start && path.compare(start, slash - start, ".") != 0)
            parts.push_back(path.substr(start, slash - start));
        start = slash + 1;
    }
    const bool absolute = path[0] == '/';
    if (parts.empty() || path.back() == '/' || parts.back() == "..") {
        error = "cannot open " + path + ": not a file name";
        return -1;
    }
    Fd dir(::open(absolute ? "/" : ".", O_PATH | O_DIRECTORY | O_CLOEXEC));
    if (dir.Get() < 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return -1;
    }
    for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
        // Every shown name is the prefix as given, so that the user finds it.
        const int next = OpenFolder(dir.Get(), parts[i], Joined(parts, i + 1, absolute), error);
        if (next < 0)
            return -1;
        dir.Reset(next);
    }
    const std::string folder = Joined(parts, parts.size() - 1, absolute);
    struct stat folderInfo {};
    if (::fstat(dir.Get(), &folderInfo) != 0) {
        error = "cannot look at " + folder + ": " + std::strerror(errno);
        return -1;
    }
    if (!Trusted(folderInfo.st_uid)) {
        error = "cannot use " + path + ": its folder is owned by " + UserText(folderInfo.st_uid) +
                " (a trail is kept in a folder of yours, or in a group-writable one of root's "
                "to be shared)";
        return -1;
    }
    // A team's folder: its group may write in it, not everyone (/tmp is nobody's to share).
    const bool shared = (folderInfo.st_mode & S_IWGRP) && !(folderInfo.st_mode & S_IWOTH);
    const char* name = parts.back().c_str();
    // Made here, or found; O_NONBLOCK keeps a FIFO put in its place from stalling the open.
    constexpr int kFlags = O_RDWR | O_APPEND | O_NOFOLLOW | O_NOCTTY | O_NONBLOCK | O_CLOEXEC;
    Fd fd(::openat(dir.Get(), name, kFlags | O_CREAT | O_EXCL, shared ? 0660 : 0600));
    const bool made = fd.Get() >= 0;
    if (!made && errno == EEXIST)
        fd.Reset(::openat(dir.Get(), name, kFlags));
    if (fd.Get() < 0) {
        const int code = errno;
        struct stat info {};
        if (code == ELOOP ||
            (::fstatat(dir.Get(), name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISLNK(info.st_mode)))
            error = "cannot use " + path +
                    ": it is a symbolic link (the trail is never written through one)";
        else if (code == EACCES)
            error = "cannot append to " + path + ": " +
                    (::fstatat(dir.Get(), name, &info, AT_SYMLINK_NOFOLLOW) != 0
                         ? NoWritePermission(dir.Get(), ".", folder)
                         : NoWritePermission(dir.Get(), name, "it"));
        else
            error = "cannot open " + path + ": " + std::strerror(code);
        return -1;
    }
    struct stat info {};
    if (::fstat(fd.Get(), &info) != 0) {
        error = "cannot look at " + path + ": " + std::strerror(errno);
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        error = "cannot use " + path + ": it is not a regular file";
        return -1;
    }
    // A second name may be another user's way to a file they could not write themselves.
    if (info.st_nlink > 1) {
        error = "cannot use " + path + ": it has other names (hard links)";
        return -1;
    }
    if (info.st_uid != ::geteuid() && !shared) {
        error = "cannot use " + path + ": it is owned by " + UserText(info.st_uid) +
                " (a trail of another user's is appended to only in a group-writable folder)";
        return -1;
    }
    // A shared trail keeps its group's write permission whatever the maker's umask.
    if (made && shared)
        ::fchmod(fd.Get(), 0660);
    if (::fcntl(fd.Get(), F_SETFL, O_APPEND) != 0) {
        error = "cannot open " + path + ": " + std::strerror(errno);
        return -1;
    }
    return fd.Release();
}
