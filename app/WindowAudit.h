// The window's record of the changes it makes to cameras: one line of the shared audit trail per
// operation that wrote (a page's Apply writes one per setting, a command button, the main view's
// Update), in the form vireoctl writes, or per setting a settings file loaded, with the camera
// the port's opening identified. A setting is named as the settings file names it.
#pragma once

#include "app/AttachedCamera.h"
#include "camera/RVXReg.h"
#include "camera/audit/AuditTrail.h"

#include <string>
#include <vector>

// The camera later changes are recorded against; taken once per port opening.
void SetAuditedCamera(const AttachedCamera& camera);
const AttachedCamera& AuditedCamera();

// Appends change with the program, port and camera filled in. A trail that cannot be written
// does not stop the change: the user is told once per run, in a box naming the file and why.
void RecordWindowChange(AuditChange change);
// The changes of one action (a load's settings), appended together.
void RecordWindowChanges(std::vector<AuditChange> changes);

// Records every register write made through map from now on: the writes of one operation are
// kept until the user's action ends (or at once outside an action) and make one line.
void WatchRegisterWrites(CRVXReg& map);
// Appends the lines of the writes kept so far.
void RecordPendingWrites();

// The name a line gives the writes of operation (a register map's label, "Set OutLevel Offset, "):
// the settings-file name of the setting the registers hold on a camera of the map's family, else
// the label without "Set " and trailing punctuation.
std::string WrittenSettingName(CRVXReg& map, const std::string& operation,
                               const std::vector<RegisterWrite>& writes);

// While one lives, register writes are not recorded: the work records its changes itself.
class CAuditPause {
public:
    CAuditPause();
    ~CAuditPause();
    CAuditPause(const CAuditPause&) = delete;
    CAuditPause& operator=(const CAuditPause&) = delete;
};

// Lets the next failure to record be told again, as at the start of a run (for tests).
void ResetAuditWarning();
