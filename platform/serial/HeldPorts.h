// Terminals this process holds for exclusive use (TIOCEXCL). The hold belongs to the terminal,
// not to the process, so a program ended by a signal would leave it behind for everyone; the
// handler installed here clears every hold and then lets the signal end the program.
#pragma once

namespace serial {

// Most terminals held at once; a device beyond them keeps its hold until it closes.
inline constexpr int kHeldPortsMax = 64;

// Called by the device after taking and before releasing the hold. Async-signal-safe.
void RegisterHeldPort(int fd);
void UnregisterHeldPort(int fd);

// Clears the hold of every registered terminal (the signal handler's work).
void ReleaseHeldPorts();

// SIGTERM, SIGHUP and SIGINT release the holds, then end the program as the signal would.
void ReleaseHeldPortsOnSignals();

} // namespace serial
