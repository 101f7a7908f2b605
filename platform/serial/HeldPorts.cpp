#include "platform/serial/HeldPorts.h"

#include <atomic>
#include <csignal>
#include <sys/ioctl.h>

namespace serial {
namespace {

// Lock-free slots that the handler may read at any moment; a slot holds fd + 1, 0 when free,
// so that the zero-initialised array is ready before any constructor runs.
std::atomic<int> g_held[kHeldPortsMax] = {};

void OnEndingSignal(int signal)
{
    ReleaseHeldPorts();
    // The default action ends the program with the signal's own status.
    std::signal(signal, SIG_DFL);
    std::raise(signal);
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

void ReleaseHeldPortsOnSignals()
{
    struct sigaction action {};
    action.sa_handler = OnEndingSignal;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGTERM, SIGHUP, SIGINT})
        ::sigaction(signal, &action, nullptr);
}

} // namespace serial
