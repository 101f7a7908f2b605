// The program's own command-line switches, --version and --help: answered on standard output
// before any window exists, so they work without a display.
#pragma once

#include <optional>
#include <string>

// The answer to the first --version or --help among argv[1..argc-1]; nothing when neither is
// given. Every other argument is left to start-up: the framework's embedding and automation
// switches, Qt's own options, and anything unknown, which is ignored.
std::optional<std::string> InfoSwitchAnswer(int argc, const char* const* argv);
