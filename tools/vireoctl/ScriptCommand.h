// The "script" command: many port commands from a file or standard input, on one open port in
// one process, so that each costs little more than its exchange.
#pragma once

#include "tools/vireoctl/PortCommands.h"

#include <istream>
#include <string>
#include <vector>

namespace vireoctl {

struct ScriptLine {
    int number = 0;                // 1-based line of the script
    std::vector<std::string> args; // the command and its arguments
    PortAction action;
};

// Reads the whole script: blank lines and "#" comments are skipped, words are separated by
// blanks. False with "line N: PROBLEM" at the first malformed line.
bool ParseScript(std::istream& in, std::vector<ScriptLine>& lines, std::string& problem);

// script [--keep-going] [FILE|-]: the first failing line ends the script with its exit status
// (after all lines with --keep-going); its error lines carry "line N: ".
int RunScript(const Options& options);

} // namespace vireoctl
