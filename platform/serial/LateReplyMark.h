// Marks left on a port by a program whose request timed out: its reply may still come, after the
// program has ended and another has opened the port (past the purge at open). A mark says until
// when; the next program to open the port before then settles until then before its first
// request, and clears the mark. Marks are files of the user's runtime directory
// ($XDG_RUNTIME_DIR, else a private one under /tmp), one per port, the time kept as the file's.
#pragma once

#include "platform/serial/PortName.h"

#include <chrono>
#include <optional>
#include <string>

namespace serial {

// The port's name for its mark: the device's resolved path and the time its node was made, or
// the network port.
std::string LateReplyKey(const PortAddress& address);

void MarkLateReply(const std::string& key, std::chrono::system_clock::time_point until);
// Until when a late reply may still come, when a mark says so and that time is still to come.
std::optional<std::chrono::system_clock::time_point> LateReplyDeadline(const std::string& key);
void ClearLateReplyMark(const std::string& key);

} // namespace serial
