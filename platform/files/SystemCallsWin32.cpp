#include "platform/files/SystemCalls.h"

#include "platform/files/WideText.h"

#include <cerrno>
#include <cstdlib>

#include <io.h>
#include <windows.h>

// After windows.h, whose types it uses.
#include <shellapi.h>

namespace files {
namespace {

// The lock covers one byte far past any end of file: LockFileEx stops other handles' reads and
// writes of the bytes it covers, and these locks are to order writers, not to stop readers.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

HANDLE HandleOf(int fd)
{
    return reinterpret_cast<HANDLE>(::_get_osfhandle(fd));
}

bool Failed(int& error)
{
    error = ErrnoOf(::GetLastError());
    return false;
}

} // namespace

bool LockExclusive(int fd, int& error)
{
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    if (::LockFileEx(HandleOf(fd), LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at))
        return true;
    return Failed(error);
}

void Unlock(int fd)
{
    OVERLAPPED at{};
    at.OffsetHigh = kLockOffsetHigh;
    ::UnlockFileEx(HandleOf(fd), 0, 1, 0, &at);
}

bool SizeOf(int fd, std::int64_t& size, int& error)
{
    LARGE_INTEGER value{};
    if (!::GetFileSizeEx(HandleOf(fd), &value))
        return Failed(error);
    size = value.QuadPart;
    return true;
}

long long ReadAt(int fd, void* buffer, std::size_t n, std::int64_t offset, int& error)
{
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD got = 0;
    const DWORD want = n > 0x40000000 ? 0x40000000 : static_cast<DWORD>(n);
    if (::ReadFile(HandleOf(fd), buffer, want, &got, &at))
        return got;
    if (::GetLastError() == ERROR_HANDLE_EOF)
        return 0;
    Failed(error);
    return -1;
}

bool Truncate(int fd, std::int64_t size, int& error)
{
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = size;
    if (::SetFileInformationByHandle(HandleOf(fd), FileEndOfFileInfo, &end, sizeof end))
        return true;
    return Failed(error);
}

bool AppendAll(int fd, const std::string& text, int& error)
{
    // Writers hold the lock, so the end found here is still the end when the bytes land.
    const HANDLE handle = HandleOf(fd);
    LARGE_INTEGER end{};
    if (!::GetFileSizeEx(handle, &end))
        return Failed(error);
    std::size_t done = 0;
    while (done < text.size()) {
        OVERLAPPED at{};
        const std::int64_t offset = end.QuadPart + static_cast<std::int64_t>(done);
        at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const std::size_t left = text.size() - done;
        DWORD wrote = 0;
        if (!::WriteFile(handle, text.data() + done,
                         left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left), &wrote, &at))
            return Failed(error);
        if (wrote == 0) {
            error = EIO;
            return false;
        }
        done += wrote;
    }
    return true;
}

bool SyncToDisk(int fd, int& error)
{
    if (::FlushFileBuffers(HandleOf(fd)))
        return true;
    return Failed(error);
}

void CloseFile(int fd)
{
    ::_close(fd);
}

int OpenAndLock(const std::string& path, int& error)
{
    // Shared for deleting too, so that the editor's rename may replace the file meanwhile.
    const HANDLE handle = ::CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Failed(error);
        return -1;
    }
    const int fd = ::_open_osfhandle(reinterpret_cast<intptr_t>(handle), 0);
    if (fd < 0) {
        ::CloseHandle(handle);
        error = EMFILE;
        return -1;
    }
    if (!LockExclusive(fd, error)) {
        ::_close(fd);
        return -1;
    }
    return fd;
}

namespace {

bool IdentityOf(HANDLE handle, std::uint64_t& volume, std::uint64_t& file)
{
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info))
        return false;
    volume = info.dwVolumeSerialNumber;
    file = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

} // namespace

bool FileKey(const std::string& path, std::uint64_t& volume, std::uint64_t& file, int& error)
{
    // No access asked: only the file's identity is read, which also works for a folder.
    const HANDLE handle =
        ::CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return Failed(error);
    const bool ok = IdentityOf(handle, volume, file);
    if (!ok)
        Failed(error);
    ::CloseHandle(handle);
    return ok;
}

bool StillAtPath(int fd, const std::string& path)
{
    std::uint64_t heldVolume = 0, heldFile = 0, nowVolume = 0, nowFile = 0;
    int error = 0;
    return IdentityOf(HandleOf(fd), heldVolume, heldFile) &&
           FileKey(path, nowVolume, nowFile, error) && heldVolume == nowVolume &&
           heldFile == nowFile;
}

std::FILE* OpenForReading(const std::string& path)
{
    // "N": the handle is not inherited, as O_CLOEXEC keeps it on POSIX.
    return ::_wfopen(Wide(path).c_str(), L"rbN");
}

bool IsFolder(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolder(const std::string& path, int& error)
{
    if (::CreateDirectoryW(Wide(path).c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS)
        return true;
    return Failed(error);
}

bool IsTerminal(int fd)
{
    DWORD mode = 0;
    return ::GetConsoleMode(HandleOf(fd), &mode) != 0;
}

bool CharDeviceKey(const std::string&, std::uint64_t&)
{
    // A COM port has no node that two names share: the name itself tells ports apart, and a
    // second open of one port is refused by the port.
    return false;
}

namespace {

UINT g_consoleCodePage = 0;

void RestoreConsoleCodePage()
{
    ::SetConsoleOutputCP(g_consoleCodePage);
}

} // namespace

void ShowUtf8OnConsole()
{
    DWORD mode = 0;
    const bool console = ::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode) ||
                         ::GetConsoleMode(::GetStdHandle(STD_ERROR_HANDLE), &mode);
    const UINT current = ::GetConsoleOutputCP();
    if (!console || current == CP_UTF8 || g_consoleCodePage != 0)
        return;
    if (::SetConsoleOutputCP(CP_UTF8)) {
        g_consoleCodePage = current;
        std::atexit(RestoreConsoleCodePage);
    }
}

std::vector<std::string> CommandLineArguments(int argc, char** argv)
{
    int count = 0;
    wchar_t** wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (!wide || count != argc) {
        // The system's split disagrees with the runtime's: the runtime's is what ran.
        if (wide)
            ::LocalFree(wide);
        return std::vector<std::string>(argv, argv + argc);
    }
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(Utf8(wide[i]));
    ::LocalFree(wide);
    return arguments;
}

std::size_t PendingOutput(std::FILE*)
{
    return 0;
}

namespace {

// FOLDER\VireoStudio\NAME, appended in place (GCC 12 misjudges the chained operator+ here).
std::string ProgramFile(std::string folder, const std::string& name)
{
    folder.append("\\VireoStudio\\");
    folder.append(name);
    return folder;
}

} // namespace

std::string UserStateFile(const std::string& name)
{
    const std::string local = EnvironmentText(L"LOCALAPPDATA");
    return local.empty() ? std::string() : ProgramFile(local, name);
}

std::string UserConfigFile(const std::string& name)
{
    const std::string roaming = EnvironmentText(L"APPDATA");
    return ProgramFile(roaming.empty() ? std::string(".") : roaming, name);
}

bool UtcFields(std::time_t seconds, std::tm& fields)
{
    return ::gmtime_s(&fields, &seconds) == 0;
}

std::time_t FromUtcFields(std::tm& fields)
{
    return ::_mkgmtime(&fields);
}

std::string UserName()
{
    wchar_t name[257];
    DWORD size = 257;
    if (::GetUserNameW(name, &size) && size > 1)
        return Utf8(std::wstring(name, size - 1));
    const std::string user = EnvironmentText(L"USERNAME");
    return user.empty() ? "unknown" : user;
}

std::string HostName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!::GetComputerNameW(name, &size))
        return "unknown";
    return Utf8(std::wstring(name, size));
}

} // namespace files
