// How the window words a failed exchange for the user. The logs keep the protocol's own texts
// ("[NAK] Recieved", "Camera replies invalid data "); a box or the status bar says what happened.
#pragma once

#include "comm/Result.h"

#include <string>

namespace pages {

// The text a box of the user's reads when a failed action is reported: a refusal, or a reply the
// program could not use; empty for failures the port reports itself (and for success).
std::string CameraFailureText(const CResult& result);

// The reason of a failure within a sentence: a NAK (also one a text read took for invalid data)
// is the camera refusing; every other failure keeps its reason.
std::string FailureReason(const CResult& result);

} // namespace pages
