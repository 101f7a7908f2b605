// The settings file's lock on Windows: "<file>.lock" opened without sharing and deleted when
// its handle closes, so the open itself is the lock and a holder that ended leaves nothing.
#include "platform/profile/LockFile.h"

#include "platform/files/WideText.h"

#include <algorithm>
#include <thread>

#include <windows.h>

namespace profile {

bool LockFile::TryLock()
{
    const HANDLE handle =
        ::CreateFileW(files::Wide(m_path).c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                      FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return false;
    m_fd = HandleToLong(handle);
    return true;
}

bool LockFile::RemoveIfStale()
{
    // A holder's lock goes with its handle: there is never a stale one to remove.
    return false;
}

bool LockFile::Lock(std::chrono::milliseconds timeout)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    auto pause = std::chrono::milliseconds(1);
    for (;;) {
        if (TryLock())
            return true;
        const DWORD code = ::GetLastError();
        if (code != ERROR_SHARING_VIOLATION && code != ERROR_ACCESS_DENIED)
            return false;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        // The holder only writes one small file: back off briefly, not on a spin.
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(50));
    }
}

void LockFile::Unlock()
{
    if (m_fd < 0)
        return;
    ::CloseHandle(LongToHandle(m_fd));
    m_fd = -1;
}

} // namespace profile
