// UTF-8, the program's text, to and from the UTF-16 of the Win32 calls.
#pragma once

#include <string>

namespace files {

std::wstring Wide(const std::string& text);
std::string Utf8(const std::wstring& text);
// The errno value nearest to a Win32 error, so that callers word it as on POSIX.
int ErrnoOf(unsigned long win32Error);
// An environment variable's value in UTF-8; empty when unset.
std::string EnvironmentText(const wchar_t* name);

} // namespace files
