#include "app/AttachedCamera.h"

#include "camera/settings/CameraIdentity.h"
#include "comm/ComIF.h"
#include "comm/LinkAction.h"
#include "pages/FailureText.h"

std::string PortDescription(CComIF& comIF)
{
    if (comIF.PortType == PORT_CAMERALINK) {
        std::string port = "Camera Link port " + std::to_string(comIF.m_Cas.m_nPortIndex);
        if (comIF.m_Cas.m_szVendorName[0] != '\0')
            port += std::string(" (") + comIF.m_Cas.m_szVendorName + ")";
        return port;
    }
    return SelectedPortName(comIF);
}

AttachedCamera IdentifyAttachedCamera(CComIF& comIF)
{
    AttachedCamera camera;
    camera.portOpen = comIF.PortOpen();
    if (!camera.portOpen)
        return camera;
    camera.port = PortDescription(comIF);
    camera.portName = SelectedPortName(comIF);
    {
        CLinkAction action(comIF);
        camera.result = ReadCameraModel(&comIF, camera.model, camera.kind);
        if (camera.result.Ok())
            camera.result = ReadCameraSerial(&comIF, camera.serial);
    }
    // The status bar tells the failure; no box is owed for a read the user did not ask for.
    comIF.TakeNotice();
    return camera;
}

std::string AttachedCameraText(const AttachedCamera& camera)
{
    if (!camera.portOpen)
        return "no port open";
    const std::string head = camera.port + " \u2014 ";
    if (camera.portLost)
        return head + "the port was lost";
    if (camera.result == LINK_TIMEOUT)
        return head + "no camera answers";
    if (camera.result.Failed())
        return head + "the camera could not be identified: " + pages::FailureReason(camera.result);
    return head + camera.model + " " + camera.serial;
}

std::string CameraDescription(const AttachedCamera& camera)
{
    // Every model name this program knows is said beginning with a vowel ("ar-vee").
    return "an " + camera.model + (camera.serial.empty() ? "" : " " + camera.serial);
}
