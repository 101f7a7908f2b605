// The "identify" command, and "auto" in place of a model: which camera is connected.
#pragma once

#include "camera/audit/JsonText.h"
#include "camera/settings/CameraIdentity.h"
#include "tools/vireoctl/Session.h"

#include <string>

class CComIF;

namespace vireoctl {

// The word that stands for the connected camera's own model.
inline constexpr const char* kAutoModel = "auto";

// identify: on every target, the identity texts one per line, then "kind\tMODEL" or
// "kind\tunknown"; with several targets one block per camera, headed by "[TARGET]".
int Identify(const Options& options);

// Reads the camera's identity; on success text holds the block identify prints. Returns the
// result code.
CResult IdentifyText(CComIF& com, std::string& text);

// The identity's fields for --json and reports: vendor, model, serial, cpu, fpga (RVQM52 only)
// and kind (null when unknown).
OrderedJson IdentityJson(const CameraIdentity& identity);

} // namespace vireoctl
