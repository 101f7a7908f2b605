// Where the settings store's files lie on this system, and reading and replacing one: the
// POSIX side keeps QSettings' files under XDG_CONFIG_HOME and XDG_CONFIG_DIRS, the Windows
// side INI files under %APPDATA% and %PROGRAMDATA%.
#pragma once

#include <string>
#include <vector>

namespace profile {

// The files values are looked up in, the first (the one written) first: the program's own file
// and its organisation's, the user's and then the system's. userDirectory, when not empty,
// stands for the user's folder (tests point it at a temporary one).
std::vector<std::string> StoreFilePaths(const std::string& userDirectory,
                                        const std::string& organisation,
                                        const std::string& application);

// The site's file, which an administrator writes and users only read.
std::string SiteStorePath(const std::string& organisation, const std::string& application);

enum class StoreRead { Read, Missing, Failed };
StoreRead ReadStoreText(const std::string& path, std::string& data);

// Replaces the file in one step, so that a reader sees the old file or the new one.
bool ReplaceStoreText(const std::string& path, const std::string& data);

} // namespace profile
