// vireoctl's record of the changes it makes: each one appended to the audit trail with the
// camera's identity, read once per connection. A trail that cannot be written does not stop a
// change; it is warned of once, and the exit status says so.
#pragma once

#include "camera/audit/AuditTrail.h"

class CComIF;

namespace vireoctl {

struct Options;

// The exit status of a run whose changes were all made but not all recorded.
inline constexpr int kExitNotRecorded = 4;

// The trail's file: --audit, else the stored one, else the default place.
void ConfigureAudit(const Options& options);

// Appends change, made through com; fills in the program, port and camera.
void RecordChange(CComIF& com, AuditChange change);
// The changes of one action, appended together.
void RecordChanges(CComIF& com, std::vector<AuditChange> changes);

// status, or kExitNotRecorded when it was success and a change could not be recorded.
int AuditStatus(int status);

// `audit verify [FILE]` and `audit show [--camera NAME|--serial SN] [--since TIME] [FILE]`.
int RunAuditCommand(const Options& options);

} // namespace vireoctl
