// Before the window saves or loads a camera's settings: a camera of the inventory that gives a
// model or serial number must be the one that answered when its port was opened, or the user
// says to go on with the camera there.
#pragma once

#include "app/AttachedCamera.h"

#include <functional>
#include <optional>
#include <string>

class CComIF;

enum class SettingsTransfer { Save, Load };

// The attached camera's serial number, which the inventory is to give once a load has written
// to the camera.
struct PendingReplacement {
    std::string path; // the inventory
    std::string name; // the camera's entry
    std::string serial;
    std::string line; // "cam1: serial S2, not S1" as the question said it
};

// True when the transfer may go on: no inventory camera with an identity is in use on comIF,
// the attached camera is not known, or it is the inventory's. For a replaced camera the user
// is asked in vireoctl's words; a load let go on is to keep the attached camera's serial number
// in the inventory, as vireoctl's --accept-replacement does: record is then set, and nothing is
// changed until RecordReplacement. attached may be empty (no check).
bool ConfirmAttachedCamera(CComIF* comIF, const std::function<AttachedCamera()>& attached,
                           SettingsTransfer transfer,
                           std::optional<PendingReplacement>* record = nullptr);

// Writes the replacement into the inventory; empty, or what went wrong as the user is told it.
std::string RecordReplacement(const PendingReplacement& replacement);
