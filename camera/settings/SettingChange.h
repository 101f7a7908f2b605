// The trail line of the writes one operation made to a settings-file setting, in the form
// vireoctl writes for a setter: the setting's name, its value before and after, and each
// register written with its own before and after.
#pragma once

#include "camera/RVXReg.h"
#include "camera/audit/AuditTrail.h"
#include "camera/settings/CameraModel.h"
#include "camera/settings/SettingCatalog.h"

#include <optional>
#include <vector>

// The setting's values are worked out from the registers as they were before the writes and as
// they were read back after them, through the setting's own getter, without asking the camera
// again; a value whose registers are not all known is left out. Nothing when nothing was written.
std::optional<AuditChange> SettingChangeOfWrites(const SettingDef& setting, CameraModel model,
                                                 const std::vector<RegisterWrite>& writes);
