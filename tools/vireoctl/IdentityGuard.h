// The right camera before every write: a camera named from the inventory with a model or serial
// number is asked who it is before the first write on its connection, and a different camera is
// refused (or, with --accept-replacement, written to and, once the change is made, its serial
// number kept in the inventory). Cameras addressed by port are not asked.
#pragma once

#include "tools/vireoctl/Fleet.h"
#include "tools/vireoctl/Session.h"

#include <optional>
#include <string>
#include <vector>

class CComIF;

namespace vireoctl {

// True for a command (or script line) that writes to the camera: write, and call of an
// operation that is not a getter.
bool PortActionWrites(const std::vector<std::string>& args);

// A replaced camera written to anyway (--accept-replacement): what the inventory is to say once
// the change was made.
struct AcceptedReplacement {
    std::string name;                  // the inventory's entry
    std::string found;                 // "camera replaced: expected ..., found ..."
    std::string prefix;                // "NAME: ", unless the thread's lines carry the name
    std::string path;                  // the inventory
    std::optional<std::string> serial; // the answering camera's, when the entry gives another
};

// Empty when writing to target on com may go on; else why not: the line one camera prints and
// the reason a result line of several gives. prefixed: this thread's lines already start with
// the camera's name. A replaced camera that may be written to anyway is left in accepted, for
// SettleReplacement after the command.
std::optional<JobResult::Error> CheckBeforeWrite(const Options& options, const Target& target,
                                                 CComIF& com, bool prefixed,
                                                 std::optional<AcceptedReplacement>& accepted);

// Called once the command on an accepted camera has ended. changed: it made its change; only
// then is the camera's serial number kept in the inventory ("NAME: camera replaced: ...;
// written anyway; PATH now gives serial S"). Otherwise the inventory is left as it was, and the
// line says so. The error when the inventory could not be updated.
std::optional<JobResult::Error> SettleReplacement(const AcceptedReplacement& accepted,
                                                  bool changed);

} // namespace vireoctl
