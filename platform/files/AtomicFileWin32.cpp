#include "platform/files/AtomicFile.h"

#include "platform/files/WideText.h"

#include <cstring>

#include <windows.h>

namespace {

std::string Reason(const char* what, const std::string& path, unsigned long code)
{
    return std::string(what) + " " + path + ": " + std::strerror(files::ErrnoOf(code));
}

// A name that is a device, a folder or anything but a file is refused and left as it is.
bool RefusedKind(const std::wstring& wide, const std::string& path, std::string& error)
{
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return false;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        error = path + " is a folder, not a file: not replaced";
        return true;
    }
    if (attributes & FILE_ATTRIBUTE_DEVICE) {
        error = path + " is a device, not a file: not replaced";
        return true;
    }
    return false;
}

} // namespace

bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string& error)
{
    const std::wstring target = files::Wide(path);
    if (RefusedKind(target, path, error))
        return false;
    const std::string tempPath = path + ".tmp" + std::to_string(::GetCurrentProcessId()) + "." +
                                 std::to_string(::GetCurrentThreadId());
    const std::wstring temp = files::Wide(tempPath);
    const HANDLE handle = ::CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = Reason("cannot create", tempPath, ::GetLastError());
        return false;
    }
    std::size_t done = 0;
    bool ok = true;
    unsigned long code = 0;
    while (ok && done < contents.size()) {
        DWORD wrote = 0;
        const std::size_t left = contents.size() - done;
        ok = ::WriteFile(handle, contents.data() + done,
                         left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left), &wrote,
                         nullptr) &&
             wrote > 0;
        done += wrote;
    }
    ok = ok && ::FlushFileBuffers(handle);
    if (!ok)
        code = ::GetLastError();
    ::CloseHandle(handle);
    if (!ok) {
        ::DeleteFileW(temp.c_str());
        error = Reason("cannot write", tempPath, code);
        return false;
    }
    // A replaced file keeps its read-only attribute, as on POSIX it keeps its mode.
    const DWORD old = ::GetFileAttributesW(target.c_str());
    if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY)) {
        ::SetFileAttributesW(target.c_str(), old & ~FILE_ATTRIBUTE_READONLY);
    }
    if (!::MoveFileExW(temp.c_str(), target.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        code = ::GetLastError();
        ::DeleteFileW(temp.c_str());
        if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY))
            ::SetFileAttributesW(target.c_str(), old);
        error = Reason("cannot replace", path, code);
        return false;
    }
    if (old != INVALID_FILE_ATTRIBUTES && (old & FILE_ATTRIBUTE_READONLY))
        ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY);
    return true;
}

bool IsReadOnlyFile(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(files::Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) &&
           (attributes & FILE_ATTRIBUTE_READONLY);
}

bool ReadSmallFile(const std::string& path, std::size_t maximum, std::string& contents,
                   std::string& error)
{
    const HANDLE handle = ::CreateFileW(files::Wide(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        error = Reason("cannot open", path, ::GetLastError());
        return false;
    }
    contents.clear();
    char buffer[16384];
    bool ok = true;
    for (;;) {
        DWORD got = 0;
        if (!::ReadFile(handle, buffer, sizeof buffer, &got, nullptr)) {
            error = Reason("cannot read", path, ::GetLastError());
            ok = false;
            break;
        }
        if (got == 0)
            break;
        if (contents.size() + got > maximum) {
            error = path + ": larger than " + std::to_string(maximum) + " bytes";
            ok = false;
            break;
        }
        contents.append(buffer, got);
    }
    ::CloseHandle(handle);
    return ok;
}
