// Running one command on every target camera: one port object and one thread per camera, so
// that N cameras take about as long as one. The threads share nothing but standard error (see
// ErrorLine); each job's findings come back in its JobResult, printed by the main thread.
#pragma once

#include "camera/audit/JsonText.h"
#include "camera/settings/SettingsFile.h"
#include "camera/settings/SettingsTransfer.h"
#include "tools/vireoctl/Session.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

class CComIF;

namespace vireoctl {

struct JobResult {
    std::string label;    // the target's
    std::string port;     // the port it was opened on ("cl:INDEX" for Camera Link)
    int status = kExitOk; // the exit status this camera alone would give
    std::string out;      // what the command prints for this camera
    // A failure: the line one camera prints, and how the one-line summary of several names it.
    struct Error {
        std::string line;   // "error: cannot open port X", "error 256: RS232C Timeout"
        std::string reason; // "cannot open port X", "error 256: RS232C Timeout"
    };
    std::vector<Error> errors;
    std::optional<SettingsFile> saved; // save: the values read
    std::string okText; // after "ok" on the line of several cameras ("<TAB>FILE" of a save)
    OrderedJson facts = OrderedJson::object(); // the command's findings for --json and reports
    bool replaced = false;                     // a camera of the inventory answered as another one

    void Fail(std::string error, int exitStatus = kExitFailed)
    {
        errors.push_back({"error: " + error, error});
        status = exitStatus;
    }
    void Fail(const CResult& result)
    {
        const std::string error = "error " + CodeText(result);
        errors.push_back({error, error});
        status = kExitFailed;
    }
    // The errors in one line, for "TARGET<TAB>failed: REASON".
    std::string Reason() const;
};

// Runs with an open port; progress may be called before each step of a transfer.
using CameraJob = std::function<JobResult(CComIF& com, const TransferProgress& progress)>;

// Called by the main thread with each result in target order, as soon as it and every result
// before it are known.
using ResultShown = std::function<void(const JobResult& result)>;

// Opens every target (the stored port when none is named) and runs job on each, in parallel
// when there are several: serial and network ports are opened in parallel too, each within its
// own time-out. A target that cannot be opened fails with the reason. showProgress: draw
// progress lines on a terminal.
std::vector<JobResult> RunOnTargets(const Options& options, bool showProgress, const CameraJob& job,
                                    const ResultShown& shown = {});

// One camera: its output, then "error: ..." lines. Several: "TARGET<TAB>ok" (and the job's
// okText) or "TARGET<TAB>failed: REASON" each. Exit 0 when all
// succeeded, else 1.
int PrintResultLines(const Options& options, const std::vector<JobResult>& results);

// One camera: its output and error lines. Several: one block per camera headed by "[TARGET]",
// with "failed: REASON" in the block of a failed one. Exit 1 when any failed, else the highest
// status.
int PrintBlocks(const Options& options, const std::vector<JobResult>& results);
// One camera's block of several, for a ResultShown; and the status PrintBlocks returns.
void PrintBlock(const JobResult& result);
int BlocksStatus(const std::vector<JobResult>& results);

// The exit status of a run: 1 when any camera failed, else the highest status.
int RunStatus(const std::vector<JobResult>& results);

// One camera for --json and reports: name, port, "result" (okWord, "differs" or "failed" with
// "reason"), then the job's facts.
OrderedJson CameraJson(const JobResult& result, const char* okWord = "ok");

// --json: {"command", "version", "cameras": [...]} on standard output.
void PrintJsonDocument(const Options& options, OrderedJson cameras);
// The same with CameraJson of each result; returns RunStatus.
int PrintJson(const Options& options, const std::vector<JobResult>& results,
              const char* okWord = "ok");

} // namespace vireoctl
