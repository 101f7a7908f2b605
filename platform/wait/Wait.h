// How a thread that needs the camera's reply waits for it: until a descriptor is readable, a
// deadline passes, or the user cancels. Programs without a window wait in poll(); the window
// installs a waiter that keeps its event loop running meanwhile. On Windows a "descriptor" is an
// event handle (handles fit in 32 bits), signalled while there is something to read, and the
// wait is WaitForMultipleObjects on it and the cancel's event.
#pragma once

#include <atomic>
#include <chrono>

namespace waiting {

using Clock = std::chrono::steady_clock;

enum class WaitResult {
    Readable,  // the descriptor has bytes or news (a hang-up, an error)
    TimedOut,  // the deadline passed first
    Cancelled, // the user asked to stop
    Failed,    // the wait itself failed
};

// The user's cancel of the running action on one port: requested from any thread, cleared when
// an action begins. A wait that watches it ends as soon as it is requested.
class CancelFlag {
public:
    CancelFlag();
    ~CancelFlag();
    CancelFlag(const CancelFlag&) = delete;
    CancelFlag& operator=(const CancelFlag&) = delete;

    void Request();
    void Clear();
    bool Requested() const { return m_requested.load(std::memory_order_acquire); }
    // Polls readable while a cancel is requested; -1 when the system gave no descriptor (a
    // wait then sees the cancel when its poll next returns).
    int Descriptor() const { return m_fd; }

private:
    std::atomic<bool> m_requested{false};
    int m_fd = -1;
};

class IWaiter {
public:
    virtual ~IWaiter() = default;
    // Waits until fd is readable, the deadline passes or a cancel is requested.
    virtual WaitResult WaitReadable(int fd, Clock::time_point deadline,
                                    const CancelFlag& cancel) = 0;
    // The longest a blocking library call should run before the waiter gets its turn again.
    virtual std::chrono::milliseconds Slice() const = 0;
    // Gives the waiter its turn between such calls; false once a cancel is requested.
    virtual bool Pump(const CancelFlag& cancel) = 0;
};

// Whether the descriptor reports that its far end hung up (a terminal's or a socket's); never
// on Windows, where a failed device fails its reads instead.
bool HungUp(int fd);

// The waiter that blocks in poll() and never pumps anything.
IWaiter& DefaultWaiter();

// Installs a waiter (nullptr restores the default) and returns the previous one. The waiter
// must outlive its installation.
IWaiter* SetWaiter(IWaiter* waiter);
IWaiter& Waiter();

} // namespace waiting
