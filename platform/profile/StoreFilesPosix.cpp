#include "platform/profile/StoreFiles.h"

#include <cerrno>
#include <cstdlib>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace profile {
namespace {

std::string UserDirectory(const std::string& chosen)
{
    if (!chosen.empty())
        return chosen;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config)
        return config;
    const char* home = std::getenv("HOME");
    return std::string(home && *home ? home : "") + "/.config";
}

} // namespace

std::vector<std::string> StoreFilePaths(const std::string& userDirectory,
                                        const std::string& organisation,
                                        const std::string& application)
{
    const std::string appFile = organisation + "/" + application + ".conf";
    const std::string orgFile = organisation + ".conf";
    const std::string user = UserDirectory(userDirectory) + "/";
    std::vector<std::string> files{user + appFile, user + orgFile};
    std::vector<std::string> systemDirs;
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string list = dirs && *dirs ? dirs : "/etc/xdg";
    for (std::size_t pos = 0; pos <= list.size();) {
        const std::size_t colon = std::min(list.find(':', pos), list.size());
        if (colon > pos)
            systemDirs.push_back(list.substr(pos, colon - pos) + "/");
        pos = colon + 1;
    }
    for (const std::string& dir : systemDirs)
        files.push_back(dir + appFile);
    for (const std::string& dir : systemDirs)
        files.push_back(dir + orgFile);
    return files;
}

StoreRead ReadStoreText(const std::string& path, std::string& data)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT || errno == ENOTDIR ? StoreRead::Missing : StoreRead::Failed;
    struct stat st {};
    StoreRead status = StoreRead::Read;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        status = StoreRead::Failed;
    } else {
        char buffer[8192];
        for (;;) {
            const ssize_t n = ::read(fd, buffer, sizeof buffer);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                status = StoreRead::Failed;
            if (n <= 0)
                break;
            data.append(buffer, static_cast<std::size_t>(n));
        }
    }
    ::close(fd);
    return status;
}

// Replaces the file in one step, so that a reader sees the old file or the new one.
bool ReplaceStoreText(const std::string& path, const std::string& data)
{
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;
    struct stat st {};
    const mode_t mode = ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    bool ok = ::fchmod(fd, mode) == 0;
    std::size_t done = 0;
    while (ok && done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += static_cast<std::size_t>(n);
    }
    ok = ok && ::fsync(fd) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        ::unlink(temp.c_str());
    return ok;
}

std::string SiteStorePath(const std::string& organisation, const std::string& application)
{
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    std::string first = dirs ? std::string(dirs).substr(0, std::string(dirs).find(':')) : "";
    if (first.empty() || first[0] != '/')
        first = "/etc/xdg";
    return first + "/" + organisation + "/" + application + ".conf";
}

} // namespace profile
