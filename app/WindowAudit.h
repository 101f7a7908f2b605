// The window's record of the changes it makes to cameras: one line of the shared audit trail per
// register written (a page's Apply, a command button, the main view's Update) or per setting a
// settings file loaded, with the camera the port's opening identified.
#pragma once

#include "app/AttachedCamera.h"
#include "camera/audit/AuditTrail.h"

class CRVXReg;

// The camera later changes are recorded against; taken once per port opening.
void SetAuditedCamera(const AttachedCamera& camera);
const AttachedCamera& AuditedCamera();

// Appends change with the program, port and camera filled in. A trail that cannot be written
// does not stop the change: the user is told once per run, in a box naming the file and why.
void RecordWindowChange(AuditChange change);
// The changes of one action (a load's settings), appended together.
void RecordWindowChanges(std::vector<AuditChange> changes);

// Records every register write made through map from now on.
void WatchRegisterWrites(CRVXReg& map);

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
