// The "identify" command, and "auto" in place of a model: which camera is connected.
#pragma once

#include "camera/settings/CameraIdentity.h"
#include "tools/vireoctl/Session.h"

#include <optional>

namespace vireoctl {

// The word that stands for the connected camera's own model.
inline constexpr const char* kAutoModel = "auto";

// identify: the identity texts one per line, then "kind\tMODEL" or "kind\tunknown".
int Identify(const Options& options);

// With the port open: reads the camera's identity and the model it names. When the camera does
// not answer or is of no known model, says so, closes the port and gives the exit status.
std::optional<CameraModel> IdentifyModel(CameraIdentity& identity, int& exitStatus);

} // namespace vireoctl
