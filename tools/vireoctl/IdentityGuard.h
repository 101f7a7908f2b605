// The right camera before every write: a camera named from the inventory with a model or serial
// number is asked who it is before the first write on its connection, and a different camera is
// refused (or, with --accept-replacement, written to and its serial number kept in the
// inventory). Cameras addressed by port are not asked.
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

// Empty when writing to target on com may go on; else why not: the line one camera prints and
// the reason a result line of several gives. prefixed: this thread's lines already start with
// the camera's name.
std::optional<JobResult::Error> CheckBeforeWrite(const Options& options, const Target& target,
                                                 CComIF& com, bool prefixed);

} // namespace vireoctl
