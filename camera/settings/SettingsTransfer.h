// Moving a model's settings between the camera and a settings file, one named operation at a
// time, each leaving its sequence-log line. A caller may watch the progress and stop the work
// between two operations.
#pragma once

#include "camera/settings/CameraIdentity.h"
#include "camera/settings/SettingsFile.h"

#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

class CComIF;
class CRVXReg;
struct AuditChange;

// Called before each operation with the number done and the number in all; false stops there.
using TransferProgress = std::function<bool(std::size_t done, std::size_t total)>;

struct ValueProblem {
    std::string name;
    std::string reason;
};

struct SaveOutcome {
    SettingsFile file;                  // whole only when Ok()
    std::vector<ValueProblem> failures; // could not be read, or hold what no page can write
    std::vector<std::string> notRead;   // left after the link failed or the user stopped
    bool cancelled = false;
    bool Ok() const { return failures.empty() && notRead.empty() && !cancelled; }
};

// One setting a failed all-or-nothing load had written or tried to, and how it was put back.
struct RestoreReport {
    std::string name;
    int sent = 0;       // the file's value
    std::string answer; // the write's outcome: "taken", or why not
    int before = 0;     // the camera's value before the load
    bool restored = false;
    std::string left;         // when not restored: what the camera holds, or why that is unknown
    std::optional<int> holds; // what the camera was last read to hold, when that is known

    // "Gamma: sent 1 (not written: [NAK] Recieved); restored to 0".
    std::string Text() const;
};

struct LoadOutcome {
    std::vector<std::string> written;    // the camera took these writes
    std::vector<ValueProblem> failures;  // refused or unanswered writes, values that read back
                                         // otherwise
    std::vector<std::string> notWritten; // left after the link failed or the user stopped
    std::vector<std::string> notChecked; // written, not read back as the user stopped first
    bool cancelled = false;
    // The camera's values read before the load (all or nothing only) and read back afterwards,
    // by name: what a record of the change needs.
    std::map<std::string, int> before;
    std::map<std::string, int> after;
    // When each setting's write was sent: its record carries that time, not the whole load's.
    std::map<std::string, std::chrono::system_clock::time_point> writtenAt;
    // All or nothing: a failure or a stop tried to write the old values back (RolledBack() says
    // whether all of them were). restore has one entry per setting the load wrote or tried to.
    bool rolledBack = false;
    std::vector<RestoreReport> restore;
    bool RolledBack() const { return rolledBack && FullyRestored(); }
    bool FullyRestored() const
    {
        for (const RestoreReport& report : restore)
            if (!report.restored)
                return false;
        return true;
    }
    bool Ok() const
    {
        return failures.empty() && notWritten.empty() && notChecked.empty() && !cancelled;
    }
    // One setting's part: its values before and read back (when read), and why it failed
    // (empty when it did not).
    std::optional<int> Before(const std::string& name) const;
    std::optional<int> After(const std::string& name) const;
    std::string Failure(const std::string& name) const;
};

// A failure of the link itself (time-out, line or library error, cancel): the camera is not
// answering, so going on would only wait out one time-out after another.
bool IsLinkFailure(const CResult& result);

// Reads every value of model through map (its family's register map). The identity is read
// first unless known is given. A value outside what the pages allow counts as a failure, since
// the file could not be loaded again.
SaveOutcome ReadCameraSettings(CameraModel model, CComIF* comIF, CRVXReg& map,
                               const CameraIdentity* known, const TransferProgress& progress);

// Writes the file's values in the model's order through map, then reads each written value
// back. Stops at the first failure of the link: a write left without an answer may have been
// taken, and only a later exchange on a quiet line can tell.
// With readBefore, each value is read just before it is written, for the record of the change.
LoadOutcome WriteCameraSettings(const SettingsFile& file, CRVXReg& map,
                                const TransferProgress& progress, bool readBefore = false);

// All or nothing: reads the camera's value of every setting the file holds (nothing is written
// when one cannot be read), writes and reads back as WriteCameraSettings does, and on any
// failure or stop writes the values read before back and reads them again, so that the camera
// ends with either all of the file's values or all of its own.
LoadOutcome LoadCameraSettings(const SettingsFile& file, CRVXReg& map,
                               const TransferProgress& progress);

// The operations WriteCameraSettings would run, one text each ("SetRGain 512").
std::vector<std::string> PlannedWrites(const SettingsFile& file);

// The audit trail's record of each setting the load wrote or tried to write: the values before
// and read back after, the result, and the file with its hash. The recorder fills in the program
// and the camera.
std::vector<AuditChange> LoadAuditChanges(const SettingsFile& file, const std::string& path,
                                          const std::string& fileHash, const LoadOutcome& outcome);

// "A, B and C".
std::string JoinNames(const std::vector<std::string>& names);
