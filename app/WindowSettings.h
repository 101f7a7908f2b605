// Where the window keeps its own choices in the settings store, beside the ports' settings.
#pragma once

#include <string>

inline constexpr const char* kWindowSection = "Settings\\Window";
// 1 when each log record is shown with its time; 0 or missing when not.
inline constexpr const char* kLogTimeStampsEntry = "Log time stamps";
// The folders the file dialogs opened in last, and the model chosen last.
inline constexpr const char* kSettingsFolderEntry = "Camera settings folder";
inline constexpr const char* kLogFolderEntry = "Log folder";
inline constexpr const char* kLastModelEntry = "Model";

// The folder stored under entry, empty when none is.
std::string StoredFolder(const char* entry);
// Stores the folder that holds path under entry.
void StoreFolderOf(const char* entry, const std::string& path);
