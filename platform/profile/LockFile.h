// The lock a settings file is written under: "<file>.lock", kept as Qt's QLockFile keeps it (made
// with O_EXCL, holding the owner's pid, program, host and machine ids, flock()ed while held), so
// that this program and one built on QSettings never write the same file at once.
#pragma once

#include <chrono>
#include <string>

namespace profile {

class LockFile {
public:
    explicit LockFile(std::string path) : m_path(std::move(path)) {}
    ~LockFile() { Unlock(); }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    // Takes the lock, waiting up to timeout for its holder; a lock left by an owner that has
    // gone is removed. False when the lock could not be had in time.
    bool Lock(std::chrono::milliseconds timeout);
    void Unlock();

private:
    bool TryLock();
    bool RemoveIfStale();

    std::string m_path;
    int m_fd = -1;
};

} // namespace profile
