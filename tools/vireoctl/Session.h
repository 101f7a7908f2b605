// What every vireoctl command shares: the port options, the log on standard error, opening the
// port with the stored settings, and turning a result code into an exit status.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace vireoctl {

struct Options {
    std::optional<std::string> port; // RS-232C port name or device path
    std::optional<int> baud;
    std::optional<int> timeoutMs;
    std::optional<int> clIndex; // Camera Link port index
    bool log = false;
    std::vector<std::string> args; // the command and its arguments
};

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

// Parses the options before the command. Returns false on a bad option.
bool ParseOptions(int argc, char** argv, Options& options);

// Prints the usage (on standard error, unless asked for) and returns the exit status of a bad
// command line.
int Usage(std::FILE* stream = stderr);

// Routes log records and message boxes to standard error (records only with --log).
void InstallOutput(const Options& options);

// Loads the stored settings, applies the options and opens the port. Prints a clear error and
// returns false when the port cannot be opened.
bool OpenPort(const Options& options);

// Closes the port and maps a result code to the exit status, printing "error CODE: TEXT".
int Finish(int result);

// Hexadecimal with optional "0x" (addresses and values of read and write).
bool ParseHexArgument(const std::string& text, unsigned maximum, int& value);

} // namespace vireoctl
