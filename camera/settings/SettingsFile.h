// The settings file: a JSON object with the format's name and version, the model the values
// belong to, the camera's identity when they were saved, the time, and the values by name.
// Reading checks everything before anyone acts on it; a file may name only some values.
#pragma once

#include "camera/settings/CameraModel.h"

#include <string>
#include <utility>
#include <vector>

inline constexpr const char* kSettingsFormat = "VireoStudio camera settings";
inline constexpr int kSettingsVersion = 1;
// No settings file comes near this; anything larger is not one.
inline constexpr std::size_t kSettingsFileMax = 1 << 20;

struct SavedIdentity {
    std::string vendor;
    std::string model;
    std::string serial;
    std::string cpu;
    std::string fpga; // empty: none (not written)
};

struct SettingsFile {
    CameraModel model = CameraModel::RV1240DLX;
    SavedIdentity camera;
    std::string saved; // UTC, "2024-05-17T09:30:00Z"
    // Name and value, in the model's write order.
    std::vector<std::pair<std::string, int>> values;
};

// Where a file went wrong: the name concerned (empty for the file as a whole) and why.
struct FileProblem {
    std::string name;
    std::string reason;
};

// Pretty-printed, one value a line, in the model's write order.
std::string SettingsToJson(const SettingsFile& file);

// False with the problem when the text is no valid settings file; file is then unchanged.
bool SettingsFromJson(const std::string& text, SettingsFile& file, FileProblem& problem);

// The current time in the file's form.
std::string SettingsTimeNow();

// The name of a camera's settings file without ".json": "MODEL-SERIAL", the serial number with
// each character but letters, digits, '-', '_' and '.' made '_', and no leading '.'.
std::string SettingsFileBaseName(CameraModel model, const std::string& serial);
