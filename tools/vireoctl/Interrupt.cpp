#include "tools/vireoctl/Interrupt.h"

#include "comm/ComIF.h"
#include "platform/serial/HeldPorts.h"

#include <atomic>
#include <cstdio>

namespace vireoctl {
namespace {

// Lock-free, so the handler may set it at any moment.
std::atomic<int> g_signal{0};
std::atomic<int> g_count{0};

// The ports whose waits a second signal cuts short; a fixed table the handler can walk. A run
// holds one port per camera; more cameras than slots are stopped by the third signal alone.
constexpr int kCancelSlots = 256;
std::atomic<CComIF*> g_ports[kCancelSlots];

void OnSignal(int signal)
{
    int none = 0;
    g_signal.compare_exchange_strong(none, signal);
    const int count = ++g_count;
    if (count == 2) {
        // Setting a flag and writing an event descriptor: safe in a handler.
        for (std::atomic<CComIF*>& slot : g_ports)
            if (CComIF* port = slot.load())
                port->RequestCancel();
    } else if (count > 2) {
        serial::EndBySignal(signal);
    }
}

} // namespace

CancelOnSignal::CancelOnSignal(CComIF& port)
{
    for (int i = 0; i < kCancelSlots; ++i) {
        CComIF* empty = nullptr;
        if (g_ports[i].compare_exchange_strong(empty, &port)) {
            m_slot = i;
            // A second signal that came before the port was listed still stops it.
            if (g_count.load() >= 2)
                port.RequestCancel();
            return;
        }
    }
}

CancelOnSignal::~CancelOnSignal()
{
    if (m_slot >= 0)
        g_ports[m_slot].store(nullptr);
}

InterruptScope::InterruptScope()
{
    serial::CatchEndingSignals(OnSignal);
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
