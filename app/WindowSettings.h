// Where the window keeps its own choices in the settings store, beside the ports' settings.
#pragma once

inline constexpr const char* kWindowSection = "Settings\\Window";
// 1 when each log record is shown with its time; 0 or missing when not.
inline constexpr const char* kLogTimeStampsEntry = "Log time stamps";
