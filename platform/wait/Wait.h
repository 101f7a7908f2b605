// How a thread that needs the camera's reply waits for it: until a descriptor is readable, a
// deadline passes, or the user cancels. Programs without a window wait in poll(); the window
// installs a waiter that keeps its event loop running meanwhile.
#pragma once

#include <chrono>

namespace waiting {

using Clock = std::chrono::steady_clock;

enum class WaitResult {
    Readable,  // the descriptor has bytes or news (a hang-up, an error)
    TimedOut,  // the deadline passed first
    Cancelled, // the user asked to stop
    Failed,    // the wait itself failed
};

class IWaiter {
public:
    virtual ~IWaiter() = default;
    // Waits until fd is readable, the deadline passes or a cancel is requested.
    virtual WaitResult WaitReadable(int fd, Clock::time_point deadline) = 0;
    // The longest a blocking library call should run before the waiter gets its turn again.
    virtual std::chrono::milliseconds Slice() const = 0;
    // Gives the waiter its turn between such calls; false once a cancel is requested.
    virtual bool Pump() = 0;
};

// The waiter that blocks in poll() and never pumps anything.
IWaiter& DefaultWaiter();

// Installs a waiter (nullptr restores the default) and returns the previous one. The waiter
// must outlive its installation.
IWaiter* SetWaiter(IWaiter* waiter);
IWaiter& Waiter();

// The user's cancel of the running action: set from the user interface, cleared when an action
// begins, seen by waits and by the exchanges that follow.
void RequestCancel();
void ClearCancel();
bool CancelRequested();

} // namespace waiting
