#include "platform/serial/HeldPorts.h"

#include <atomic>
#include <cerrno>
#include <csignal>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace serial {
namespace {

// Lock-free slots that the handler may read at any moment; a slot holds fd + 1, 0 when free,
// so that the zero-initialised array is ready before any constructor runs.
std::atomic<int> g_held[kHeldPortsMax] = {};

unsigned g_closedAtStart = 0;

unsigned HoldClosedNow()
{
    unsigned closed = 0;
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF)
            continue;
        // open() returns the lowest free descriptor: the closed one, as the lower ones are
        // open or were held in an earlier pass.
        const int held = ::open("/dev/null", fd == STDIN_FILENO ? O_WRONLY : O_RDONLY);
        if (held < 0)
            continue;
        if (held != fd) {
            ::dup2(held, fd);
            ::close(held);
        }
        closed |= 1u << fd;
    }
    return closed;
}

// Before the program's static objects, some of which open descriptors (their wake-up events)
// and would otherwise take a closed standard one.
[[gnu::constructor(101)]] void HoldClosedAtLoad()
{
    g_closedAtStart = HoldClosedNow();
}

} // namespace

void RegisterHeldPort(int fd)
{
    for (auto& slot : g_held) {
        int free = 0;
        if (slot.compare_exchange_strong(free, fd + 1))
            return;
    }
}

void UnregisterHeldPort(int fd)
{
    for (auto& slot : g_held) {
        int held = fd + 1;
        if (slot.compare_exchange_strong(held, 0))
            return;
    }
}

void ReleaseHeldPorts()
{
    for (auto& slot : g_held)
        if (const int entry = slot.load(); entry > 0)
            ::ioctl(entry - 1, TIOCNXCL);
}

void EndBySignal(int signal)
{
    ReleaseHeldPorts();
    // The default action ends the program with the signal's own status.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
}

void ReleaseHeldPortsOnSignals()
{
    struct sigaction action {};
    action.sa_handler = EndBySignal;
    sigemptyset(&action.sa_mask);
    // Every signal whose default action ends the program and that may be caught; SIGKILL
    // cannot be, and the next open clears the hold it leaves when the lock is free.
    for (const int signal : {SIGTERM, SIGHUP, SIGINT, SIGQUIT, SIGUSR1, SIGUSR2, SIGALRM})
        ::sigaction(signal, &action, nullptr);
}

unsigned HoldClosedStandardDescriptors()
{
    g_closedAtStart |= HoldClosedNow();
    return g_closedAtStart;
}

} // namespace serial
