// A settings file as QSettings' INI format lays it out: "[Section]" headers, "key=value" lines,
// the root group as [General]. Keys are whole paths ("Settings/COMM Port/BaudRate"); values keep
// their spelling (see IniText.h).
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace profile::ini {

using Entries = std::map<std::string, std::string>;

// Reads a file's bytes. False when some line is not a header, a key line or a comment (the
// lines that could be read are kept). A later line of the same key wins.
bool ParseFile(std::string_view data, Entries& entries);

// The file's bytes: groups and keys in name order, one blank line between groups.
std::string FormatFile(const Entries& entries);

} // namespace profile::ini
