#include "platform/files/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Reason(const char* what, const std::string& path, int code)
{
    return std::string(what) + " " + path + ": " + std::strerror(code);
}

std::string DirectoryOf(const std::string& path)
{
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const std::string& contents)
{
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Where a write to path lands: a symbolic link is followed (a chain of them too) to the name it
// stands for, so the link stays and its target is replaced. False with the reason in error for a
// name that is not a regular file or a link loop; exists tells whether the final name is there.
bool ResolveTarget(const std::string& path, std::string& target, struct stat& info, bool& exists,
                   std::string& error)
{
    target = path;
    // The same bound as the kernel's for nested links.
    for (int hops = 0; hops <= 40; ++hops) {
        if (::lstat(target.c_str(), &info) != 0) {
            if (errno == ENOENT) {
                exists = false;
                return true;
            }
            error = Reason("cannot look at", target, errno);
            return false;
        }
        if (!S_ISLNK(info.st_mode)) {
            exists = true;
            const char* kind = S_ISREG(info.st_mode)    ? nullptr
                               : S_ISDIR(info.st_mode)  ? "a folder"
                               : S_ISCHR(info.st_mode)  ? "a device"
                               : S_ISBLK(info.st_mode)  ? "a device"
                               : S_ISFIFO(info.st_mode) ? "a FIFO"
                               : S_ISSOCK(info.st_mode) ? "a socket"
                                                        : "not a regular file";
            if (kind == nullptr)
                return true;
            error = "cannot save to " + path + ": " +
                    (target == path ? std::string() : "it leads to " + target + ", which ") +
                    "is " + kind + ", not a regular file";
            return false;
        }
        std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0 || static_cast<std::size_t>(n) >= link.size()) {
            error = Reason("cannot read the link", target, n < 0 ? errno : ENAMETOOLONG);
            return false;
        }
        link.resize(static_cast<std::size_t>(n));
        // A relative link is relative to the folder that holds it.
        target = link.front() == '/' ? link : DirectoryOf(target) + "/" + link;
    }
    error = Reason("cannot save to", path, ELOOP);
    return false;
}

} // namespace

bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string& error)
{
    if (path.empty() || path.back() == '/') {
        error = "no file name";
        return false;
    }
    std::string target;
    struct stat old {};
    bool exists = false;
    if (!ResolveTarget(path, target, old, exists, error))
        return false;
    // Beside the target, so that the rename stays on one file system.
    std::string temp = target + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = Reason("cannot create a file beside", target, errno);
        return false;
    }
    // A replaced file keeps its permissions (and, where allowed, its owner); a new one gets the
    // usual ones for the user's umask.
    if (exists) {
        ::fchmod(fd, old.st_mode & 07777);
        // Refused unless the user may give files away; the new file then stays the user's.
        [[maybe_unused]] const int owned = ::fchown(fd, old.st_uid, old.st_gid);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    const bool written = WriteAll(fd, contents);
    const int writeErrno = errno;
    const bool synced = written && ::fsync(fd) == 0;
    const int syncErrno = errno;
    const bool closed = ::close(fd) == 0;
    const int closeErrno = errno;
    if (!written || !synced || !closed) {
        ::unlink(temp.c_str());
        error = Reason("cannot write", path,
                       !written  ? writeErrno
                       : !synced ? syncErrno
                                 : closeErrno);
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int code = errno;
        ::unlink(temp.c_str());
        error = Reason("cannot replace", target, code);
        return false;
    }
    // The rename itself reaches the disk with its directory.
    const int dir = ::open(DirectoryOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

bool IsReadOnlyFile(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) &&
           (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

bool ReadSmallFile(const std::string& path, std::size_t maximum, std::string& contents,
                   std::string& error)
{
    // Non-blocking, so that a FIFO without a writer is refused here instead of waiting for one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        error = Reason("cannot open", path, errno);
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) == 0 && !S_ISREG(info.st_mode)) {
        ::close(fd);
        error = path + ": not a regular file";
        return false;
    }
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int code = errno;
            ::close(fd);
            error = Reason("cannot read", path, code);
            return false;
        }
        if (n == 0)
            break;
        if (text.size() + static_cast<std::size_t>(n) > maximum) {
            ::close(fd);
            error = path + ": larger than " + std::to_string(maximum) + " bytes";
            return false;
        }
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    contents = std::move(text);
    return true;
}
