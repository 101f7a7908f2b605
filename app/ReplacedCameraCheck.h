// Before the window saves or loads a camera's settings: a camera of the inventory that gives a
// model or serial number must be the one that answered when its port was opened, or the user
// says to go on with the camera there.
#pragma once

#include "app/AttachedCamera.h"

#include <functional>

class CComIF;

enum class SettingsTransfer { Save, Load };

// True when the transfer may go on: no inventory camera with an identity is in use on comIF,
// the attached camera is not known, or it is the inventory's. For a replaced camera the user
// is asked in vireoctl's words; a load let go on keeps the attached camera's serial number in
// the inventory, as vireoctl's --accept-replacement does. attached may be empty (no check).
bool ConfirmAttachedCamera(CComIF* comIF, const std::function<AttachedCamera()>& attached,
                           SettingsTransfer transfer);
