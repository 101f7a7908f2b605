// The serial device on Win32: a COM port opened without sharing, set up through a DCB, and
// read and written with overlapped I/O. A one-byte read is kept outstanding: its completion is
// the event the reply wait blocks on (with the cancel's event), so nothing polls, and the bytes
// behind that first one are taken at once from what the driver holds (ClearCommError's count).
// Line changes come from WaitCommEvent, on ports whose modem status can be read.
#include "platform/serial/SerialDevice.h"

#include "platform/files/WideText.h"
#include "platform/serial/NetworkConnect.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <mutex>

#include <windows.h>

namespace serial {
namespace {

constexpr DWORD kLineEvents = EV_CTS | EV_DSR | EV_RLSD | EV_RING | EV_BREAK | EV_ERR;

int ErrnoOfLast()
{
    return files::ErrnoOf(::GetLastError());
}

unsigned BitsOf(DWORD which)
{
    unsigned bits = 0;
    if (which & EV_CTS)
        bits |= EventCtsChanged;
    if (which & EV_DSR)
        bits |= EventDsrChanged;
    if (which & EV_RLSD)
        bits |= EventDcdChanged;
    if (which & EV_RING)
        bits |= EventRingEnded;
    if (which & EV_BREAK)
        bits |= EventBreak;
    if (which & EV_ERR)
        bits |= EventLineError;
    return bits;
}

// Waits for an overlapped operation that is known to end now (its bytes are there, or it was
// cancelled). False with the error when it failed.
bool Finish(HANDLE handle, OVERLAPPED& ov, DWORD& done)
{
    return ::GetOverlappedResult(handle, &ov, &done, TRUE) != 0;
}

class Win32ComDevice final : public ISerialDevice {
public:
    Win32ComDevice()
    {
        m_readDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_restDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_writeDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_lineEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_endWait = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }

    ~Win32ComDevice() override
    {
        Close();
        for (HANDLE event : {m_readDone, m_restDone, m_writeDone, m_lineEvent, m_endWait})
            if (event)
                ::CloseHandle(event);
    }

    int Open(const PortAddress& address) override
    {
        Close();
        m_failure.clear();
        if (!m_readDone || !m_restDone || !m_writeDone || !m_lineEvent || !m_endWait)
            return ENOMEM;
        // No sharing: a port another program has open is refused, and ours is refused to it.
        const HANDLE handle =
            ::CreateFileW(files::Wide(address.path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                          nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD code = ::GetLastError();
            return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION
                       ? EBUSY
                       : files::ErrnoOf(code);
        }
        // No time-outs: a read ends when its bytes are there, a write when its bytes left; the
        // waits for both are ours, on their events.
        COMMTIMEOUTS timeouts{};
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!::GetCommState(handle, &dcb) || !::SetCommTimeouts(handle, &timeouts)) {
            ::CloseHandle(handle);
            return ENOTTY;
        }
        DWORD status = 0;
        // A port whose modem status cannot be read (a pseudo-terminal under Wine) has no line
        // events either; its bytes are still read.
        m_hasModemLines = ::GetCommModemStatus(handle, &status) != 0;
        m_lineWaits = m_hasModemLines && ::SetCommMask(handle, kLineEvents) != 0;
        std::lock_guard lock(m_mutex);
        m_handle = handle;
        m_readPending = m_linePending = m_haveByte = false;
        m_failed = 0;
        m_lines = 0;
        ::ResetEvent(m_endWait);
        StartReadLocked();
        return 0;
    }

    void Close() override
    {
        std::lock_guard lock(m_mutex);
        if (m_handle == INVALID_HANDLE_VALUE)
            return;
        ::SetEvent(m_endWait);
        ::CancelIoEx(m_handle, nullptr);
        DWORD ignored = 0;
        if (m_readPending)
            Finish(m_handle, m_readOv, ignored);
        if (m_linePending)
            Finish(m_handle, m_lineOv, ignored);
        m_readPending = m_linePending = false;
        ::CloseHandle(m_handle);
        m_handle = INVALID_HANDLE_VALUE;
    }

    bool Configure(const LineSettings& settings) override
    {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!::GetCommState(m_handle, &dcb))
            return false;
        dcb.BaudRate = static_cast<DWORD>(settings.baudRate);
        dcb.fBinary = TRUE;
        dcb.fParity = settings.parity != 0;
        dcb.Parity = settings.parity; // NOPARITY, ODDPARITY, EVENPARITY, MARKPARITY, SPACEPARITY
        dcb.ByteSize = settings.byteSize;
        dcb.StopBits = settings.stopBits; // ONESTOPBIT, ONE5STOPBITS, TWOSTOPBITS
        dcb.fOutxCtsFlow = settings.ctsOutFlow;
        dcb.fOutxDsrFlow = settings.dsrOutFlow;
        dcb.fDtrControl = settings.dsrOutFlow ? DTR_CONTROL_HANDSHAKE : DTR_CONTROL_ENABLE;
        dcb.fRtsControl = settings.ctsOutFlow ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
        dcb.fDsrSensitivity = FALSE;
        dcb.fOutX = settings.xonXoff;
        dcb.fInX = settings.xonXoff;
        dcb.fErrorChar = FALSE;
        dcb.fNull = FALSE;
        dcb.fAbortOnError = FALSE;
        if (::SetCommState(m_handle, &dcb))
            return true;
        m_failure = "the driver refused the line settings (" +
                    std::string(std::strerror(ErrnoOfLast())) + ")";
        return false;
    }

    bool Purge() override
    {
        std::lock_guard lock(m_mutex);
        // The outstanding read stays out; a byte it already brought is dropped with the rest.
        CollectReadLocked();
        m_haveByte = false;
        const bool purged = ::PurgeComm(m_handle, PURGE_RXCLEAR | PURGE_TXCLEAR) != 0;
        StartReadLocked();
        return purged;
    }

    bool Watch(unsigned events) override
    {
        m_watched = events;
        if (events == 0)
            ::SetEvent(m_endWait);
        else
            ::ResetEvent(m_endWait);
        return m_handle != INVALID_HANDLE_VALUE;
    }

    void EndWait() override
    {
        m_watched = 0;
        ::SetEvent(m_endWait);
    }

    unsigned WaitEvent(std::string& failure) override
    {
        for (;;) {
            const unsigned watched = m_watched;
            if (watched == 0)
                return 0;
            bool lineWait = false;
            bool byteKept = false; // a byte nobody watches for: its event stays up, unwaited
            {
                std::lock_guard lock(m_mutex);
                CollectReadLocked();
                CollectLinesLocked();
                if (m_failed != 0) {
                    failure = "device error (" + std::string(std::strerror(m_failed)) + ")";
                    return 0;
                }
                unsigned bits = BitsOf(m_lines) & watched;
                m_lines = 0;
                if (m_haveByte && (watched & EventReceived))
                    bits |= EventReceived;
                if (bits != 0)
                    return bits;
                StartReadLocked();
                lineWait = StartLinesLocked();
                byteKept = m_haveByte;
            }
            HANDLE handles[3] = {m_endWait, byteKept ? m_lineEvent : m_readDone, m_lineEvent};
            const DWORD count = 1 + (byteKept ? 0 : 1) + (lineWait ? 1 : 0);
            const DWORD woken = ::WaitForMultipleObjects(count, handles, FALSE, INFINITE);
            if (woken == WAIT_OBJECT_0)
                return 0;
            if (woken == WAIT_FAILED) {
                failure = "device error (the wait failed)";
                return 0;
            }
        }
    }

    int Read(std::uint8_t* buffer, int max, int& errorCode) override
    {
        std::lock_guard lock(m_mutex);
        CollectReadLocked();
        if (m_failed != 0) {
            errorCode = m_failed;
            return -1;
        }
        // While the first byte's read is out, no byte has come: the bytes are read in order.
        if (!m_haveByte || max <= 0) {
            StartReadLocked();
            return 0;
        }
        buffer[0] = m_byte;
        m_haveByte = false;
        int count = 1;
        DWORD errors = 0;
        COMSTAT status{};
        if (::ClearCommError(m_handle, &errors, &status) && status.cbInQue > 0 && count < max) {
            OVERLAPPED ov{};
            ov.hEvent = m_restDone;
            ::ResetEvent(m_restDone);
            DWORD got = 0;
            const DWORD want = std::min<DWORD>(status.cbInQue, static_cast<DWORD>(max - count));
            // The bytes are in the driver already: this read ends at once.
            if (::ReadFile(m_handle, buffer + count, want, &got, &ov) ||
                (::GetLastError() == ERROR_IO_PENDING && Finish(m_handle, ov, got)))
                count += static_cast<int>(got);
        }
        StartReadLocked();
        return count;
    }

    WriteOutcome Write(const std::uint8_t* data, int n, int timeoutMs, int& written,
                       int& errorCode) override
    {
        written = 0;
        OVERLAPPED ov{};
        ov.hEvent = m_writeDone;
        ::ResetEvent(m_writeDone);
        DWORD done = 0;
        if (!::WriteFile(m_handle, data, static_cast<DWORD>(n), &done, &ov)) {
            if (::GetLastError() != ERROR_IO_PENDING) {
                errorCode = ErrnoOfLast();
                return WriteOutcome::Refused;
            }
            if (::WaitForSingleObject(m_writeDone, static_cast<DWORD>(std::max(0, timeoutMs))) !=
                WAIT_OBJECT_0)
                ::CancelIoEx(m_handle, &ov);
            if (!Finish(m_handle, ov, done) && ::GetLastError() != ERROR_OPERATION_ABORTED) {
                errorCode = ErrnoOfLast();
                written = static_cast<int>(done);
                return WriteOutcome::Failed;
            }
        }
        written = static_cast<int>(done);
        return WriteOutcome::Completed;
    }

    bool HasModemLines() const override { return m_hasModemLines; }

    bool GetModemLines(ModemLines& lines) override
    {
        DWORD status = 0;
        if (!::GetCommModemStatus(m_handle, &status))
            return false;
        lines.cts = status & MS_CTS_ON;
        lines.dsr = status & MS_DSR_ON;
        lines.ring = status & MS_RING_ON;
        lines.dcd = status & MS_RLSD_ON;
        return true;
    }

    int PollDescriptor() const override { return HandleToLong(m_readDone); }

    std::string FailureDetail() const override { return m_failure; }

private:
    // Takes the outstanding read's byte when it came. Called with m_mutex held.
    void CollectReadLocked()
    {
        if (!m_readPending)
            return;
        DWORD got = 0;
        if (::GetOverlappedResult(m_handle, &m_readOv, &got, FALSE)) {
            m_readPending = false;
            m_haveByte = got == 1;
            return;
        }
        const DWORD code = ::GetLastError();
        if (code == ERROR_IO_INCOMPLETE)
            return;
        m_readPending = false;
        if (code != ERROR_OPERATION_ABORTED)
            m_failed = files::ErrnoOf(code);
    }

    // Puts the one-byte read out unless a byte waits to be taken; its event is up exactly while
    // a byte or a failure waits.
    void StartReadLocked()
    {
        if (m_readPending || m_haveByte || m_failed != 0 || m_handle == INVALID_HANDLE_VALUE)
            return;
        for (;;) {
            m_readOv = OVERLAPPED{};
            m_readOv.hEvent = m_readDone;
            ::ResetEvent(m_readDone);
            DWORD got = 0;
            if (::ReadFile(m_handle, &m_byte, 1, &got, &m_readOv)) {
                if (got == 0)
                    continue;
                m_haveByte = true;
                ::SetEvent(m_readDone);
                return;
            }
            const DWORD code = ::GetLastError();
            if (code == ERROR_IO_PENDING) {
                m_readPending = true;
                return;
            }
            m_failed = files::ErrnoOf(code);
            ::SetEvent(m_readDone);
            return;
        }
    }

    void CollectLinesLocked()
    {
        if (!m_linePending)
            return;
        DWORD ignored = 0;
        if (::GetOverlappedResult(m_handle, &m_lineOv, &ignored, FALSE)) {
            m_linePending = false;
            m_lines |= m_lineMask;
            return;
        }
        if (::GetLastError() != ERROR_IO_INCOMPLETE)
            m_linePending = false;
    }

    // Puts a line-event wait out where the port has one; true while one is out.
    bool StartLinesLocked()
    {
        if (!m_lineWaits || !(m_watched & ~EventReceived))
            return false;
        if (m_linePending)
            return true;
        m_lineOv = OVERLAPPED{};
        m_lineOv.hEvent = m_lineEvent;
        ::ResetEvent(m_lineEvent);
        m_lineMask = 0;
        if (::WaitCommEvent(m_handle, &m_lineMask, &m_lineOv)) {
            m_lines |= m_lineMask;
            ::SetEvent(m_lineEvent);
            return true;
        }
        if (::GetLastError() == ERROR_IO_PENDING) {
            m_linePending = true;
            return true;
        }
        m_lineWaits = false;
        return false;
    }

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    HANDLE m_readDone = nullptr; // up while a byte or a failure waits: the reply wait's event
    HANDLE m_restDone = nullptr;
    HANDLE m_writeDone = nullptr;
    HANDLE m_lineEvent = nullptr;
    HANDLE m_endWait = nullptr;
    std::mutex m_mutex;
    OVERLAPPED m_readOv{};
    std::uint8_t m_byte = 0;
    bool m_readPending = false;
    bool m_haveByte = false;
    OVERLAPPED m_lineOv{};
    DWORD m_lineMask = 0;
    bool m_linePending = false;
    DWORD m_lines = 0; // line events reported and not yet told
    int m_failed = 0;
    bool m_hasModemLines = false;
    bool m_lineWaits = false;
    std::atomic<unsigned> m_watched{0};
    std::string m_failure;
};

} // namespace

std::unique_ptr<ISerialDevice> CreateLocalDevice()
{
    return std::make_unique<Win32ComDevice>();
}

std::string OpenFailureReason(int error, const PortAddress& address)
{
    if (address.kind != PortNameKind::Device)
        return NetworkOpenFailureReason(error, address.name);
    const std::string& path = address.path;
    if (path.empty() || path == "\\\\.\\")
        return "no port chosen";
    switch (error) {
    case ENOENT:
        return address.name + ": no such port";
    case EBUSY:
        return address.name + ": in use by another program";
    case ENOTTY:
        return address.name + ": not a serial port";
    default:
        return address.name + ": " + std::strerror(error);
    }
}

} // namespace serial
