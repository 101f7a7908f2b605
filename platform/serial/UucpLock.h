// UUCP lock files (/run/lock/LCK..ttyUSB0, the PID in ASCII): the way minicom, Qt's serial port
// and many other programs say a port is theirs. We honour theirs and leave one of our own where
// the lock folder lets us, so that they honour ours.
#pragma once

#include <string>

#include <sys/types.h>

namespace serial {

// The lock folder, /run/lock.
extern const char* const kUucpLockFolder;

// The lock file of a device: LCK.. and its real path below /dev with '/' as '_'
// (/dev/serial/by-id/x -> /dev/ttyUSB0 -> LCK..ttyUSB0; /dev/pts/2 -> LCK..pts_2). Empty for a
// device that does not lie below /dev or does not exist.
std::string UucpLockPath(const std::string& devicePath);

// What the lock file says: the live process named in it (also this one); -1 for a file too new
// to hold its PID yet; 0 when there is no file, or the process it names is gone.
pid_t UucpLockHolder(const std::string& lockPath);

// Takes the lock for this process: a stale file (its process gone) is removed first. Returns the
// holder instead (as UucpLockHolder), else 0; taken tells whether a file of ours now stands there
// (false also where the folder is not writable, which is no reason to refuse the port).
pid_t TakeUucpLock(const std::string& lockPath, bool& taken);

// Removes the lock file when it is still ours.
void ReleaseUucpLock(const std::string& lockPath);

} // namespace serial
