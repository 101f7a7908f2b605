// Terminals this process holds for exclusive use (TIOCEXCL) and their UUCP lock files. The hold
// belongs to the terminal and the file to the folder, not to the process, so a program ended by
// a signal would leave them behind for everyone; the handler installed here clears every hold,
// removes the lock files and then lets the signal end the program.
#pragma once

namespace serial {

// Most terminals held at once; a device beyond them keeps its hold until it closes.
inline constexpr int kHeldPortsMax = 64;

// Most bytes of a lock file's path kept for the handler; a longer one is left to its holder's
// ordinary release.
inline constexpr int kHeldLockPathMax = 256;

// Called by the device after taking and before releasing the hold; exclusive says the terminal's
// exclusive flag is ours to clear. Async-signal-safe.
void RegisterHeldPort(int fd, bool exclusive = true);
void UnregisterHeldPort(int fd);
// The UUCP lock file the registered hold on fd took, removed with it.
void SetHeldPortLockFile(int fd, const char* lockPath);

// Clears the hold of every registered terminal and removes its lock file (the signal handler's
// work).
void ReleaseHeldPorts();

// From a signal handler: clears every hold, then ends the program as the signal's default
// action would, with its own status. Async-signal-safe.
void EndBySignal(int signal);

// Every signal that would end the program and may be caught (SIGTERM, SIGINT, SIGHUP, SIGQUIT,
// SIGSEGV, SIGXCPU, the real-time ones, ...) releases the holds, then ends the program as the
// signal would. SIGXFSZ is ignored: a file grown past the size limit is then a failed write,
// reported as one, and no end by a signal.
void ReleaseHeldPortsOnSignals();

// The signals a user or the system ends a program with (SIGTERM, SIGINT, SIGHUP; on Windows the
// console's Ctrl+C and Ctrl+Break as SIGINT, its closing, log-off and shut-down as SIGTERM) go
// to handler instead, which may be called on any thread; waits resume after it. Async-signal-safe
// work only in handler. ReleaseHeldPortsOnSignals puts the ending behaviour back.
void CatchEndingSignals(void (*handler)(int signal));

// A write to a reader that went away fails with an error (EPIPE) instead of ending the program.
void ReportBrokenPipeAsError();

// Standard descriptors (0, 1, 2) found closed: each is reopened on /dev/null so that no port is
// ever opened on one and written to by printf. Each is opened for the other direction, so that
// using it fails as using a closed one would. Returns a mask, bit N set for
// descriptor N found closed. The work is done as the program is loaded, before its static
// objects are built; calling it again in main catches a later close.
unsigned HoldClosedStandardDescriptors();

} // namespace serial
