// The serial device on Win32: a COM port opened without sharing, set up through a DCB, and
// read and written with overlapped I/O. One read is kept outstanding; its event is the
// descriptor the reply wait blocks on, together with the cancel's event, so nothing polls.
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

// What one completed read may hold; the caller takes it in pieces of its own size.
constexpr DWORD kReadBuffer = 4096;

// "Return at once with what is there, or wait for the first byte": the combination of time-outs
// Win32 documents for that, with the longest constant it allows.
constexpr DWORD kReadForever = MAXDWORD - 1;

int ErrnoOfLast()
{
    return files::ErrnoOf(::GetLastError());
}

class Win32ComDevice final : public ISerialDevice {
public:
    Win32ComDevice()
    {
        m_readDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_writeDone = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_commEvent = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        m_endWait = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }

    ~Win32ComDevice() override
    {
        Close();
        for (HANDLE event : {m_readDone, m_writeDone, m_commEvent, m_endWait})
            if (event)
                ::CloseHandle(event);
    }

    int Open(const PortAddress& address) override
    {
        Close();
        m_failure.clear();
        if (!m_readDone || !m_writeDone || !m_commEvent || !m_endWait)
            return ENOMEM;
        // No sharing: a port another program has open is refused, and ours is refused to it.
        m_handle = ::CreateFileW(files::Wide(address.path).c_str(), GENERIC_READ | GENERIC_WRITE,
                                 0, nullptr, OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (m_handle == INVALID_HANDLE_VALUE) {
            const DWORD code = ::GetLastError();
            return code == ERROR_ACCESS_DENIED || code == ERROR_SHARING_VIOLATION
                       ? EBUSY
                       : files::ErrnoOf(code);
        }
        COMMTIMEOUTS timeouts{};
        timeouts.ReadIntervalTimeout = MAXDWORD;
        timeouts.ReadTotalTimeoutMultiplier = MAXDWORD;
        timeouts.ReadTotalTimeoutConstant = kReadForever;
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!::GetCommState(m_handle, &dcb) || !::SetCommTimeouts(m_handle, &timeouts)) {
            ::CloseHandle(m_handle);
            m_handle = INVALID_HANDLE_VALUE;
            return ENOTTY;
        }
        DWORD status = 0;
        m_hasModemLines = ::GetCommModemStatus(m_handle, &status) != 0;
        m_stored.clear();
        m_taken = 0;
        m_readPending = false;
        m_failed = 0;
        ::ResetEvent(m_endWait);
        return 0;
    }

    void Close() override
    {
        if (m_handle == INVALID_HANDLE_VALUE)
            return;
        ::SetEvent(m_endWait);
        ::CancelIoEx(m_handle, nullptr);
        std::lock_guard lock(m_readMutex);
        if (m_readPending) {
            DWORD got = 0;
            ::GetOverlappedResult(m_handle, &m_readOv, &got, TRUE);
            m_readPending = false;
        }
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
        std::lock_guard lock(m_readMutex);
        m_stored.clear();
        m_taken = 0;
        return ::PurgeComm(m_handle, PURGE_RXCLEAR | PURGE_TXCLEAR) != 0;
    }

    bool Watch(unsigned events) override
    {
        DWORD mask = 0;
        if (events & EventReceived)
            mask |= EV_RXCHAR;
        if (events & EventCtsChanged)
            mask |= EV_CTS;
        if (events & EventDsrChanged)
            mask |= EV_DSR;
        if (events & EventDcdChanged)
            mask |= EV_RLSD;
        if (events & EventRingEnded)
            mask |= EV_RING;
        if (events & EventBreak)
            mask |= EV_BREAK;
        if (events & EventLineError)
            mask |= EV_ERR;
        m_watched = events;
        // The bytes are seen through the outstanding read; the driver's mask reports the lines.
        m_commWaits = ::SetCommMask(m_handle, mask & ~EV_RXCHAR) != 0;
        if (events == 0)
            ::SetEvent(m_endWait);
        else
            ::ResetEvent(m_endWait);
        return true;
    }

    void EndWait() override
    {
        m_watched = 0;
        ::SetEvent(m_endWait);
    }

    unsigned WaitEvent(std::string& failure) override
    {
        for (;;) {
            if (m_watched == 0)
                return 0;
            {
                std::lock_guard lock(m_readMutex);
                StartRead();
                if (m_failed != 0) {
                    failure = "device error (" + std::string(std::strerror(m_failed)) + ")";
                    return 0;
                }
            }
            DWORD which = 0;
            bool commPending = false;
            OVERLAPPED commOv{};
            commOv.hEvent = m_commEvent;
            if (m_commWaits && (m_watched & ~EventReceived)) {
                ::ResetEvent(m_commEvent);
                if (::WaitCommEvent(m_handle, &which, &commOv)) {
                    if (const unsigned bits = Bits(which))
                        return bits;
                } else if (::GetLastError() == ERROR_IO_PENDING) {
                    commPending = true;
                } else {
                    // A driver without line events: bytes are still reported.
                    m_commWaits = false;
                }
            }
            HANDLE handles[3] = {m_endWait, m_readDone, m_commEvent};
            const DWORD count = commPending ? 3 : 2;
            const DWORD woken = ::WaitForMultipleObjects(count, handles, FALSE, INFINITE);
            if (commPending && woken != WAIT_OBJECT_0 + 2) {
                ::CancelIoEx(m_handle, &commOv);
                DWORD ignored = 0;
                ::GetOverlappedResult(m_handle, &commOv, &ignored, TRUE);
            }
            if (woken == WAIT_OBJECT_0)
                return 0;
            if (woken == WAIT_OBJECT_0 + 1)
                return EventReceived;
            if (woken == WAIT_OBJECT_0 + 2) {
                DWORD ignored = 0;
                if (::GetOverlappedResult(m_handle, &commOv, &ignored, FALSE))
                    if (const unsigned bits = Bits(which))
                        return bits;
                continue;
            }
            failure = "device error (the wait failed)";
            return 0;
        }
    }

    int Read(std::uint8_t* buffer, int max, int& errorCode) override
    {
        std::lock_guard lock(m_readMutex);
        if (m_taken == m_stored.size())
            StartRead();
        if (m_taken == m_stored.size()) {
            if (m_failed != 0) {
                errorCode = m_failed;
                return -1;
            }
            return 0;
        }
        const std::size_t n = std::min(m_stored.size() - m_taken, static_cast<std::size_t>(max));
        std::memcpy(buffer, m_stored.data() + m_taken, n);
        m_taken += n;
        // Emptied: the next read goes out at once, so that its event tells of the next byte.
        if (m_taken == m_stored.size())
            StartRead();
        return static_cast<int>(n);
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
            if (!::GetOverlappedResult(m_handle, &ov, &done, TRUE) &&
                ::GetLastError() != ERROR_OPERATION_ABORTED) {
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
    unsigned Bits(DWORD which) const
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
        return bits & m_watched;
    }

    // Takes what a finished read brought, and keeps one read outstanding while nothing is
    // stored. Called with m_readMutex held.
    void StartRead()
    {
        if (m_failed != 0 || m_handle == INVALID_HANDLE_VALUE || m_taken < m_stored.size())
            return;
        if (m_readPending) {
            DWORD got = 0;
            if (!::GetOverlappedResult(m_handle, &m_readOv, &got, FALSE)) {
                const DWORD code = ::GetLastError();
                if (code == ERROR_IO_INCOMPLETE)
                    return;
                m_readPending = false;
                if (code != ERROR_OPERATION_ABORTED) {
                    m_failed = files::ErrnoOf(code);
                    return;
                }
                got = 0;
            }
            m_readPending = false;
            m_stored.assign(m_readBuffer, m_readBuffer + got);
            m_taken = 0;
            if (got > 0)
                return; // the event stays set while bytes are stored
        }
        m_readOv = OVERLAPPED{};
        m_readOv.hEvent = m_readDone;
        ::ResetEvent(m_readDone);
        DWORD got = 0;
        if (::ReadFile(m_handle, m_readBuffer, kReadBuffer, &got, &m_readOv)) {
            m_stored.assign(m_readBuffer, m_readBuffer + got);
            m_taken = 0;
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
    }

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    HANDLE m_readDone = nullptr;
    HANDLE m_writeDone = nullptr;
    HANDLE m_commEvent = nullptr;
    HANDLE m_endWait = nullptr;
    std::mutex m_readMutex;
    OVERLAPPED m_readOv{};
    bool m_readPending = false;
    std::uint8_t m_readBuffer[kReadBuffer];
    std::string m_stored; // what the last read brought and nobody took yet
    std::size_t m_taken = 0;
    int m_failed = 0;
    bool m_hasModemLines = false;
    bool m_commWaits = false;
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
