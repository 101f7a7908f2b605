// On Windows the hold on a port is the handle opened without sharing, and the system closes
// it when the process ends however it ends: nothing is left for a handler to release. What
// stays is turning the console's control events into the program's ending signals.
#include "platform/serial/HeldPorts.h"

#include <atomic>
#include <csignal>
#include <cstdio>

#include <windows.h>

namespace serial {
namespace {

std::atomic<void (*)(int)> g_handler{nullptr};

BOOL WINAPI OnConsoleEvent(DWORD event)
{
    void (*handler)(int) = g_handler.load();
    if (!handler)
        return FALSE; // the system's default: the process ends
    switch (event) {
    case CTRL_C_EVENT:
    case CTRL_BREAK_EVENT:
        handler(SIGINT);
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        // The system ends the process when this returns, or a few seconds later: the handler
        // asked the work to stop, and the time left goes to it.
        handler(SIGTERM);
        ::Sleep(INFINITE);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void RegisterHeldPort(int, bool) {}
void UnregisterHeldPort(int) {}
void SetHeldPortLockFile(int, const char*) {}
void ReleaseHeldPorts() {}

void EndBySignal(int signal)
{
    // A console program ended by Ctrl+C ends with STATUS_CONTROL_C_EXIT, as cmd.exe expects.
    std::fflush(stdout);
    std::fflush(stderr);
    ::ExitProcess(signal == SIGINT ? 0xC000013A : 128 + static_cast<unsigned>(signal));
}

void ReleaseHeldPortsOnSignals()
{
    g_handler.store(nullptr);
}

void CatchEndingSignals(void (*handler)(int signal))
{
    static const bool installed = ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE) != 0;
    (void)installed;
    g_handler.store(handler);
}

void ReportBrokenPipeAsError()
{
    // A write to a closed pipe fails with an error on Windows; there is no signal to ignore.
}

unsigned HoldClosedStandardDescriptors()
{
    // A GUI-less start with no standard handles gets no console descriptors 0-2 from the C
    // runtime, and the handles of ports never take their numbers: nothing to hold.
    return 0;
}

} // namespace serial
