#include "camera/inventory/ChosenCamera.h"

#include "comm/ComIF.h"
#include "platform/profile/Profile.h"

namespace inventory {
namespace {

constexpr const char* kCameraEntry = "Camera";

} // namespace

std::string StoredCameraName()
{
    return profile::GetProfileString(kCommSection, kCameraEntry, "");
}

void StoreCameraName(const std::string& name)
{
    // Only a change is written: a store that never held a camera stays as it was.
    if (StoredCameraName() != name)
        profile::WriteProfileString(kCommSection, kCameraEntry, name);
}

bool IsCameraPort(const InventoryCamera& camera, int portType, int casPortIndex,
                  const std::string& portName)
{
    if (camera.clIndex)
        return portType == PORT_CAMERALINK && casPortIndex == *camera.clIndex;
    return portType == PORT_RS232C && portName == camera.port;
}

std::optional<InventoryCamera> CameraInUse(CComIF& comIF)
{
    const std::string name = StoredCameraName();
    if (name.empty())
        return std::nullopt;
    CameraInventory cameras;
    std::string problem;
    if (!ReadCameraInventory(DefaultInventoryPath(), cameras, problem))
        return std::nullopt;
    const InventoryCamera* camera = cameras.Find(name);
    // The RS-232C port's own name is the one it opens (and the status bar shows).
    if (!camera || !IsCameraPort(*camera, comIF.PortType, comIF.m_Cas.m_nPortIndex,
                                 comIF.m_Rs232c.m_Settings.PortName))
        return std::nullopt;
    return *camera;
}

} // namespace inventory
