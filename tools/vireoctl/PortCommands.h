// The commands that run on one open port and that a script may hold: read, write, call,
// identify and sleep. Each is checked whole before anything is sent, then run on a port.
#pragma once

#include "tools/vireoctl/Session.h"

#include <functional>
#include <string>
#include <vector>

class CComIF;

namespace vireoctl {

// Runs on an open port, prints what the command prints and gives its exit status.
using PortAction = std::function<int(CComIF& com)>;

// args[0] is the command. Empty, with what is wrong ("write: value 1FF is above FF"), when the
// command or its arguments are not right.
PortAction ParsePortAction(const std::vector<std::string>& args, std::string& problem);

// True for the commands ParsePortAction takes.
bool IsPortActionCommand(const std::string& command);

// Runs one of them as a command of its own: checks, opens the port, runs, closes.
int RunPortCommand(const Options& options);

} // namespace vireoctl
