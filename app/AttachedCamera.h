// The camera on the open port, as the main window names it: the port, and the model name and
// serial number the camera gave when the port was opened.
#pragma once

#include "camera/settings/CameraModel.h"
#include "comm/Result.h"

#include <optional>
#include <string>

class CComIF;

struct AttachedCamera {
    bool portOpen = false;
    bool portLost = false; // its device went away and did not come back
    std::string port;      // the port's name as the user chose it
    std::string portName;  // as a command line and the audit trail name it: device or cl:INDEX
    CResult result;        // of the identification; success when both texts were read
    std::string model;     // the camera's own model name
    std::string serial;
    std::optional<CameraModel> kind; // the known model the name names, if any
};

// The name of the port the facade has selected: the RS-232C device, or the grabber's port.
std::string PortDescription(CComIF& comIF);

// Reads the model name, then the serial number, as one action; nothing is read when no port is
// open. What a failure would tell the user is left to the caller's words.
AttachedCamera IdentifyAttachedCamera(CComIF& comIF);

// The camera as a box names it: "an RV1240DLX 4010237".
std::string CameraDescription(const AttachedCamera& camera);

// The status bar's line: "PORT — MODEL SERIAL", or why nothing is known of the camera.
std::string AttachedCameraText(const AttachedCamera& camera);
