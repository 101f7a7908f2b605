#include "platform/serial/HeldPorts.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace serial {
namespace {

// Lock-free slots that the handler may read at any moment; a slot holds fd + 1, 0 when free and
// -1 while its lock path is written, so that the zero-initialised array is ready before any
// constructor runs.
struct HeldSlot {
    std::atomic<int> fd;
    std::atomic<bool> exclusive; // the flag is ours to clear
    std::atomic<bool> hasLock;   // lockPath is written and ours to remove
    char lockPath[kHeldLockPathMax];
};
HeldSlot g_held[kHeldPortsMax] = {};

// The signals whose default action ends the program, less those that cannot be caught (SIGKILL)
// and SIGPIPE and SIGXFSZ, which the programs ignore to see failed writes instead.
constexpr int kEndingSignals[] = {SIGTERM,   SIGHUP,  SIGINT,  SIGQUIT,   SIGUSR1, SIGUSR2, SIGALRM,
                                  SIGILL,    SIGTRAP, SIGABRT, SIGBUS,    SIGFPE,  SIGSEGV, SIGSYS,
                                  SIGSTKFLT, SIGXCPU, SIGPROF, SIGVTALRM, SIGIO,   SIGPWR};

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

void RegisterHeldPort(int fd, bool exclusive)
{
    for (auto& slot : g_held) {
        int free = 0;
        if (!slot.fd.compare_exchange_strong(free, -1))
            continue;
        slot.exclusive.store(exclusive);
        slot.hasLock.store(false);
        slot.fd.store(fd + 1);
        return;
    }
}

void SetHeldPortLockFile(int fd, const char* lockPath)
{
    if (std::strlen(lockPath) >= kHeldLockPathMax)
        return;
    for (auto& slot : g_held) {
        if (slot.fd.load() == fd + 1) {
            std::strcpy(slot.lockPath, lockPath);
            slot.hasLock.store(true);
            return;
        }
    }
}

void UnregisterHeldPort(int fd)
{
    for (auto& slot : g_held) {
        int held = fd + 1;
        if (slot.fd.compare_exchange_strong(held, 0))
            return;
    }
}

void ReleaseHeldPorts()
{
    for (auto& slot : g_held) {
        if (const int entry = slot.fd.load(); entry > 0) {
            if (slot.exclusive.load())
                ::ioctl(entry - 1, TIOCNXCL);
            if (slot.hasLock.load())
                ::unlink(slot.lockPath);
        }
    }
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
    // SIGKILL cannot be caught; the next open clears the hold it leaves when nothing holds the
    // port, and removes the lock file whose process is gone.
    for (const int signal : kEndingSignals)
        ::sigaction(signal, &action, nullptr);
    for (int signal = SIGRTMIN; signal <= SIGRTMAX; ++signal)
        ::sigaction(signal, &action, nullptr);
    std::signal(SIGXFSZ, SIG_IGN);
}

unsigned HoldClosedStandardDescriptors()
{
    g_closedAtStart |= HoldClosedNow();
    return g_closedAtStart;
}

void CatchEndingSignals(void (*handler)(int signal))
{
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // Waits resume with their own deadlines; nothing needs waking, the work looks between steps.
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

void ReportBrokenPipeAsError()
{
    std::signal(SIGPIPE, SIG_IGN);
}

} // namespace serial
