// Who else holds a serial device: a process with it open (/proc/*/fd: every process for root,
// one's own otherwise), the holder of a lock on it (/proc/locks, readable by all), and how a
// refusal names one ("in use by minicom (PID 4242, user ana)").
#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

namespace serial {

// /dev/ptmx and /dev/tty: every open of them is a terminal of its own (a new pseudo-terminal,
// the opener's controlling terminal), which nobody else can hold.
bool OpensTerminalOfItsOwn(dev_t rdev);

// The processes other than this one with the character device rdev open. The program at the
// far end of a pseudo-terminal (holding its leader side) is its line, not a rival, and is left
// out.
std::vector<pid_t> ProcessesHolding(dev_t rdev);

// The process holding a lock on the file (its st_dev and st_ino), 0 when /proc/locks shows none.
pid_t LockHolder(dev_t fileSystem, ino_t inode);

// Whether a process of that PID exists (also one of another user).
bool ProcessAlive(pid_t pid);

// "in use by minicom (PID 4242, user ana)", from what /proc tells of the process.
std::string InUseBy(pid_t pid);

} // namespace serial
