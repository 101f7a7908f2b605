#include "platform/files/TrailFile.h"

#include "platform/files/WideText.h"

#include <cstring>

#include <io.h>
#include <windows.h>

namespace {

std::string Reason(const char* what, const std::string& path, unsigned long code)
{
    return std::string(what) + " " + path + ": " + std::strerror(files::ErrnoOf(code));
}

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

// Makes the folders on the way to the file; the user's own profile folders hold them, and
// they inherit that folder's access, private to the user.
bool MakeFolders(const std::wstring& file, const std::string& path, std::string& error)
{
    for (std::size_t i = 1; i < file.size(); ++i) {
        if (!IsSeparator(file[i]) || IsSeparator(file[i - 1]) || file[i - 1] == L':')
            continue;
        const std::wstring folder = file.substr(0, i);
        if (::CreateDirectoryW(folder.c_str(), nullptr))
            continue;
        const DWORD code = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(folder.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            error = Reason("cannot make the folder of", path, code);
            return false;
        }
    }
    return true;
}

} // namespace

int OpenTrailForAppend(const std::string& path, std::string& error)
{
    if (path.empty()) {
        error = "no place for the audit trail: neither LOCALAPPDATA nor USERPROFILE names a "
                "folder (name the trail's file with --audit FILE or the setting "
                "Settings\\Audit\\File)";
        return -1;
    }
    const std::wstring wide = files::Wide(path);
    if (IsSeparator(wide.back())) {
        error = "cannot open " + path + ": not a file name";
        return -1;
    }
    if (!MakeFolders(wide, path, error))
        return -1;
    // A link (a reparse point) is opened as itself, and then refused: the trail is never
    // written through one.
    const HANDLE handle = ::CreateFileW(
        wide.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = Reason(::GetLastError() == ERROR_ACCESS_DENIED ? "cannot append to" : "cannot open",
                       path, ::GetLastError());
        return -1;
    }
    BY_HANDLE_FILE_INFORMATION info{};
    std::string refused;
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        refused = "it is not a regular file";
    else if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        refused = "it is a symbolic link (the trail is never written through one)";
    else if (info.nNumberOfLinks > 1)
        refused = "it has other names (hard links)";
    if (!refused.empty()) {
        ::CloseHandle(handle);
        error = "cannot use " + path + ": " + refused;
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
    if (fd < 0) {
        ::CloseHandle(handle);
        error = "cannot open " + path + ": too many open files";
    }
    return fd;
}
