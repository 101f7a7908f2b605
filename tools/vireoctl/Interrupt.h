// A command that changes cameras takes the ending signals over while it runs: the first one
// asks the work to stop between two steps (two settings, two script lines), so that each camera
// says how far it got and every write made is recorded; a second one also cuts short the waits
// for replies (a rollback stops where it is) but still lets each camera print and record its
// line; a third ends the program at once.
#pragma once

class CComIF;

namespace vireoctl {

class InterruptScope {
public:
    // Installs the handlers for SIGTERM, SIGINT and SIGHUP.
    InterruptScope();
    // Puts back the handlers that release held ports and end the program.
    ~InterruptScope();
    InterruptScope(const InterruptScope&) = delete;
    InterruptScope& operator=(const InterruptScope&) = delete;
};

// While one lives, a second ending signal cancels the exchanges running on port.
class CancelOnSignal {
public:
    explicit CancelOnSignal(CComIF& port);
    ~CancelOnSignal();
    CancelOnSignal(const CancelOnSignal&) = delete;
    CancelOnSignal& operator=(const CancelOnSignal&) = delete;

private:
    int m_slot = -1;
};

// The first ending signal received inside a scope, 0 when none came.
int InterruptSignal();

// After the command has said how far it got: ends the program by the signal it received, so
// that the shell that started it knows it was interrupted. Returns when no signal came.
void EndIfInterrupted();

} // namespace vireoctl
