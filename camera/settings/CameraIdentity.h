// What a camera says it is: its identification texts, and which of the known models (if any)
// its model name names.
#pragma once

#include "camera/settings/CameraModel.h"
#include "comm/Result.h"

#include <optional>
#include <string>

class CComIF;

struct CameraIdentity {
    std::string vendor;
    std::string model; // the camera's own model name
    std::string serial;
    std::string cpu;
    std::string fpga; // RVQM52 models only
    std::optional<CameraModel> kind;
};

// Reads the vendor, model name, serial number and CPU version (and on the RVQM52 models the
// short CPU and the FPGA version) through the named operations, so that each leaves its
// sequence-log line. Stops at the first failure and returns its result code.
CResult ReadCameraIdentity(CComIF* comIF, CameraIdentity& identity);

// Only the model name, and the model it names.
CResult ReadCameraModel(CComIF* comIF, std::string& modelName, std::optional<CameraModel>& kind);
// Only the serial number.
CResult ReadCameraSerial(CComIF* comIF, std::string& serial);
