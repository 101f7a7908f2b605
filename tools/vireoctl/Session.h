// What every vireoctl command shares: the port options and their targets, the output on
// standard error (shared by all cameras of a run, so serialised), opening a port with the stored
// settings, and turning a result code into an exit status.
#pragma once

#include "comm/Result.h"

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

class CComIF;

namespace vireoctl {

// One camera to talk to: an RS-232C port name or a Camera Link port index.
struct Target {
    std::string port;
    std::optional<int> clIndex;
    // A camera of the inventory: its name, and what it should answer before anything is
    // written to it (see IdentityGuard.h).
    std::string name;
    std::optional<std::string> model;
    std::optional<std::string> serial;
    // The port name as given, or "cl:INDEX".
    std::string PortLabel() const;
    // How results name it: its inventory name, else its port.
    std::string Label() const;
};

struct Options {
    std::vector<Target> targets; // empty: the stored port
    std::optional<int> baud;
    std::optional<int> timeoutMs;
    bool log = false;
    std::optional<std::string> auditFile;     // where changes are recorded
    bool noAudit = false;                     // --no-audit: changes are not recorded
    std::optional<std::string> inventoryPath; // --inventory FILE
    bool allCameras = false;                  // --all
    bool acceptReplacement = false;           // --accept-replacement
    bool json = false;                        // --json: one JSON document on standard output
    // The command writes to every target: cameras of the inventory are asked who they are first.
    bool checkBeforeWrite = false;
    std::vector<std::string> args; // the command and its arguments
};

// Exit statuses.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;
inline constexpr int kExitDiffers = 3;

// Parses the options before the command. Returns false with the argument and what is wrong
// ("--baud 12345: not one of 4800, ...").
bool ParseOptions(int argc, char** argv, Options& options, std::string& problem);

// Prints the usage (on standard error, unless asked for) and returns the exit status of a bad
// command line.
int Usage(std::FILE* stream = stderr);
// The same, after one line naming what is wrong.
int UsageError(const std::string& problem);

// Exit 2 when an inventory camera's "cl:INDEX" names a port the Camera Link library does not
// have: a fault of the inventory on this machine, printed as one. (--cl of such an index fails
// that camera alone.)
std::optional<int> CheckCameraLinkIndexes(const std::vector<Target>& targets,
                                          const std::string& inventoryPath);

// Exit 2 unless the options name at most one camera.
std::optional<int> RequireOneTarget(const Options& options);

// Routes log records and message boxes to standard error (records only with --log).
void InstallOutput(const Options& options);

// Which standard descriptors were closed when vireoctl started (bit N for descriptor N): output
// meant for them is an output error.
void SetClosedAtStart(unsigned mask);
// Standard output not on a terminal is fully buffered: a command's lines reach a file or pipe
// in few writes. Called before anything is written.
void BufferOutput();
// Flushes standard output; false once any write to it has failed (the first reason is kept).
bool FlushOutput();
// Passes buffered standard output on once much of it waits; false once any write to it has
// failed. A line written to standard error flushes standard output first.
bool OutputWritable();
// The exit status after the command: status, or kExitFailed with "error: cannot write standard
// output: REASON" (or standard error) on the other stream when a write to one failed.
int CheckOutput(int status);

// Writes a whole line (newline added) to standard error without tearing another thread's.
void ErrorLine(const std::string& text);
// Text put before this thread's error and message-box lines ("line 3: ", "/dev/pts/4: "), and
// before its log records when alsoLog is set.
void SetLinePrefix(std::string prefix, bool alsoLog = false);
// While held (a progress display is on the terminal), message-box lines wait; released, they
// are written in the order they came.
void HoldMessageLines(bool hold);

// Loads the stored settings into com, applies the options and target, and opens the port.
// Returns false with the reason ("cannot open port X: no such device").
bool OpenTarget(const Options& options, const Target& target, CComIF& com, std::string& problem);

// The single camera on the program's own port; prints "error: REASON" when it cannot be opened.
bool OpenPort(const Options& options);

// "Communication Error: NOTICE" for a failure the user must act on (prefixed, and held while
// progress lines are drawn, as the thread's lines are); nothing for an empty notice.
void NoticeLine(const std::string& notice);
// "256: RS232C Timeout"; a result's plain detail takes the place of its code's text.
std::string CodeText(const CResult& result);
// The result's notice, then "error CODE: TEXT" (prefixed as the thread's lines are) and the exit
// status of a result.
int ReportResult(const CResult& result);
// ReportResult, then closes the program's own port.
int Finish(const CResult& result);

// Hexadecimal with optional "0x" (addresses and values of read and write).
bool ParseHexArgument(const std::string& text, unsigned maximum, int& value);
// The same, with what is wrong ("1FF is above FF"); empty when value was set.
std::string HexArgumentProblem(const std::string& text, unsigned maximum, int& value);

} // namespace vireoctl
