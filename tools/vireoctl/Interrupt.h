// A command that should not stop half-way through a camera (a load) takes the ending signals
// over while it runs: the first one asks the work to stop between two settings, so that each
// camera can say how far it got; a second one ends the program at once, as before.
#pragma once

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

// The first ending signal received inside a scope, 0 when none came.
int InterruptSignal();

// After the command has said how far it got: ends the program by the signal it received, so
// that the shell that started it knows it was interrupted. Returns when no signal came.
void EndIfInterrupted();

} // namespace vireoctl
