#include "tools/vireoctl/Interrupt.h"

#include "platform/serial/HeldPorts.h"

#include <atomic>
#include <csignal>
#include <cstdio>

namespace vireoctl {
namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};

// Lock-free, so the handler may set it at any moment.
std::atomic<int> g_signal{0};

void OnSignal(int signal)
{
    int none = 0;
    if (!g_signal.compare_exchange_strong(none, signal))
        serial::EndBySignal(signal);
}

} // namespace

InterruptScope::InterruptScope()
{
    struct sigaction action {};
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    // Waits resume with their own deadlines; nothing needs waking, the work looks between steps.
    action.sa_flags = SA_RESTART;
    for (const int signal : kSignals)
        ::sigaction(signal, &action, nullptr);
}

InterruptScope::~InterruptScope()
{
    serial::ReleaseHeldPortsOnSignals();
}

int InterruptSignal()
{
    return g_signal.load();
}

void EndIfInterrupted()
{
    if (const int signal = g_signal.load()) {
        std::fflush(stdout);
        std::fflush(stderr);
        serial::EndBySignal(signal);
    }
}

} // namespace vireoctl
