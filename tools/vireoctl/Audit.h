// vireoctl's record of the changes it makes: each one appended to the audit trail with the
// camera's identity, read once per connection. A trail that cannot be written does not stop a
// change; it is warned of once, and the exit status says so.
#pragma once

#include "camera/audit/AuditTrail.h"
#include "camera/audit/WriteRecord.h"

#include <functional>
#include <optional>

class CComIF;

namespace vireoctl {

struct Options;

// The exit status of a run whose changes were all made but not all recorded.
inline constexpr int kExitNotRecorded = 4;

// --no-audit where the site's settings require the trail (or beside --audit): the exit status
// after saying why.
std::optional<int> RefuseNoAudit(const Options& options);

// The trail's file: --audit, else the stored one, else the default place; none with --no-audit.
void ConfigureAudit(const Options& options);

// False with --no-audit: nothing is read or kept for a record.
bool AuditEnabled();

// Reads who the camera on com is, once per connection, so that its changes are recorded under
// the name it had before them. A failure of the link is returned (nothing should be written).
CResult IdentifyBeforeWriting(CComIF& com);

// Appends change, made through com; fills in the program, port and camera.
void RecordChange(CComIF& com, AuditChange change);
// Runs action on reg; with the trail kept, writes gets every register it wrote with the value
// before and after (read just before the write).
CResult WatchWrites(CRVXReg& reg, std::vector<RegisterWrite>& writes,
                    const std::function<CResult()>& action);
// One line for the writes of an operation (see ChangeOfWrites), when it made any, given its last
// form by shape; a write of the identity registers makes the next record ask the camera who it
// is again.
void RecordWrites(CComIF& com, const std::string& operation,
                  const std::vector<RegisterWrite>& writes,
                  const std::function<void(AuditChange&)>& shape = {});
// The changes of one action, appended together.
void RecordChanges(CComIF& com, std::vector<AuditChange> changes);

// status, or kExitNotRecorded when it was success and a change could not be recorded.
int AuditStatus(int status);

// `audit verify [FILE]` and `audit show [--camera NAME|--serial SN] [--since TIME] [FILE]`.
int RunAuditCommand(const Options& options);

} // namespace vireoctl
