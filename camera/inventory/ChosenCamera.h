// The inventory camera chosen in "COMM Setup": remembered by name beside the port settings, and
// in use while the port selected is still the one the inventory gives it.
#pragma once

#include "camera/inventory/CameraInventory.h"

#include <optional>
#include <string>

class CComIF;

namespace inventory {

// The name stored with the port settings; empty when the port was chosen by itself.
std::string StoredCameraName();
void StoreCameraName(const std::string& name);

// Whether the port selected (the port kind, the Camera Link index, the RS-232C port name) is the
// camera's.
bool IsCameraPort(const InventoryCamera& camera, int portType, int casPortIndex,
                  const std::string& portName);

// The stored camera of the default inventory when comIF's selected port is its port; nothing
// when none is stored, the inventory does not give it, or another port is selected.
std::optional<InventoryCamera> CameraInUse(CComIF& comIF);

} // namespace inventory
