// Late-reply marks on Windows: files under %LOCALAPPDATA%\VireoStudio\late-replies, one per
// port, the time kept as the file's last-write time. A COM port has no node whose making tells
// a new line from an old one: its name is its key.
#include "platform/serial/LateReplyMark.h"

#include "platform/files/WideText.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

#include <windows.h>

namespace serial {
namespace {

// Seconds between 1601-01-01 (FILETIME's epoch) and 1970-01-01.
constexpr long long kEpochDifference = 11644473600LL;

std::wstring MarkDirectory(bool make)
{
    const std::string base = files::EnvironmentText(L"LOCALAPPDATA");
    if (base.empty())
        return {};
    const std::wstring program = files::Wide(base + "\\VireoStudio");
    const std::wstring marks = program + L"\\late-replies";
    if (make) {
        ::CreateDirectoryW(program.c_str(), nullptr);
        ::CreateDirectoryW(marks.c_str(), nullptr);
    }
    return marks;
}

// One file name per key: characters a file name cannot hold are spelled %XX.
std::wstring MarkPath(const std::string& key, bool make)
{
    const std::wstring dir = MarkDirectory(make);
    if (dir.empty() || key.empty())
        return {};
    std::string name;
    for (const char c : key) {
        if (std::string_view("\\/:*?\"<>|%").find(c) != std::string_view::npos ||
            static_cast<unsigned char>(c) < 0x20) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned char>(c));
            name += escaped;
        } else {
            name += c;
        }
    }
    return dir + L"\\" + files::Wide(name.substr(0, 200));
}

} // namespace

std::string LateReplyKey(const PortAddress& address)
{
    switch (address.kind) {
    case PortNameKind::Device: {
        std::string key = address.path;
        std::transform(key.begin(), key.end(), key.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        return key;
    }
    case PortNameKind::Rfc2217:
        return "rfc2217:" + address.host + ":" + std::to_string(address.port);
    case PortNameKind::RawTcp:
        return "socket:" + address.host + ":" + std::to_string(address.port);
    }
    return {};
}

void MarkLateReply(const std::string& key, std::chrono::system_clock::time_point until)
{
    const std::wstring path = MarkPath(key, true);
    if (path.empty())
        return;
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const long long ticks =
        std::chrono::duration_cast<std::chrono::nanoseconds>(until.time_since_epoch()).count() /
            100 +
        kEpochDifference * 10'000'000LL;
    FILETIME time{static_cast<DWORD>(ticks & 0xFFFFFFFF), static_cast<DWORD>(ticks >> 32)};
    ::SetFileTime(file, nullptr, nullptr, &time);
    ::CloseHandle(file);
}

std::optional<std::chrono::system_clock::time_point> LateReplyDeadline(const std::string& key)
{
    const std::wstring path = MarkPath(key, false);
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (path.empty() || !::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::nullopt;
    const long long ticks = (static_cast<long long>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                            data.ftLastWriteTime.dwLowDateTime;
    const auto until = std::chrono::system_clock::time_point(
        std::chrono::duration_cast<std::chrono::system_clock::duration>(
            std::chrono::nanoseconds((ticks - kEpochDifference * 10'000'000LL) * 100)));
    if (until <= std::chrono::system_clock::now())
        return std::nullopt;
    return until;
}

void ClearLateReplyMark(const std::string& key)
{
    if (const std::wstring path = MarkPath(key, false); !path.empty())
        ::DeleteFileW(path.c_str());
}

} // namespace serial
