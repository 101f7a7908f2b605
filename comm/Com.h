// The port interface every kind of camera link implements, and what all port kinds share: the
// settings block with its stored values, the communication-log records and the cancel of the
// running action.
#pragma once

#include "platform/log/FormatAttribute.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include "comm/Result.h"
#include "platform/wait/Wait.h"

// Section of the settings store that holds the port settings.
inline constexpr const char* kCommSection = "Settings\\COMM Port";

enum LogRecordKind : int {
    LOG_RECEIVE = 1,
    LOG_SEND = 2,
    LOG_STATUS = 3,
};

// The twelve settings copied as a whole between the facade, its ports and the setup dialog.
// Until settings are loaded the block is empty (all zero).
struct CComSettings {
    std::string PortName; // at most 31 characters
    std::int32_t BaudRate = 0;
    std::uint8_t Parity = 0;
    std::uint8_t ByteSize = 0;
    std::uint8_t StopBits = 0;
    std::int32_t fDsr = 0;
    std::int32_t fRts = 0;
    std::int32_t fOutX = 0;
    std::int32_t HsTimeOut = 0;
    std::uint8_t Prefix = 0;
    std::uint8_t Suffix = 0;
    std::uint8_t Suffix2 = 0;

    bool operator==(const CComSettings&) const = default;
};

// Long enough for /dev/serial/by-id names and network port names.
inline constexpr std::size_t kPortNameMax = 255;

class CCom {
public:
    CCom() = default;
    CCom(const CCom&) = delete;
    CCom& operator=(const CCom&) = delete;
    virtual ~CCom();

    virtual int LoadSettings();
    virtual void SaveSettings();
    virtual int Initialize() = 0;
    virtual int Open() = 0;
    virtual int Close() = 0;
    virtual int IsOpen() = 0;
    // Sends one request (up to its first zero byte) and gives the reply without prefix and
    // terminators, zero-terminated within replySize bytes.
    virtual CResult SendReceive(const char* request, char* reply, std::size_t replySize) = 0;
    virtual void FormatLogByte(std::uint8_t byte, std::string& text);
    virtual int TakeLogRecord(std::string& text);
    virtual void AddLogRecord(const char* text, int kind);
    // The text of a link code; returns 0 (text empty) for a code that is none.
    virtual int GetErrorText(int code, std::string& text);

    // The cancel a port's waits watch. A facade hands its own to the ports it holds, so that
    // one cancel stops whichever of them is waiting.
    waiting::CancelFlag& Cancel() { return *m_cancel; }
    // A port inside a facade keeps no flag (nor its descriptor) of its own.
    void ShareCancel(waiting::CancelFlag& flag)
    {
        m_cancel = &flag;
        m_ownCancel.reset();
    }

    // Switches delivery of this port's records to the log window; once it returns, no record
    // of this port reaches the window any more (or again).
    void SetWindowLoggingFlag(bool on);
    bool WindowLoggingFlag() const;

    CComSettings m_Settings;
    // Whether LoadSettings leaves a status record for a stored value it cannot use. The facade
    // reports for the ports it contains, which read the same values, so it is said once.
    bool m_bReportSettingProblems = true;

protected:
    // The stored reply time-out, or the default for a value out of range or not a number.
    int LoadReplyTimeOut();
    // Leaves a status record when the settings store could not be read or written.
    void ReportStoreProblem();

    // Guards what the RS-232C port's caller and its event thread share.
    std::mutex m_replyMutex;

private:
    std::unique_ptr<waiting::CancelFlag> m_ownCancel = std::make_unique<waiting::CancelFlag>();
    waiting::CancelFlag* m_cancel = m_ownCancel.get();
    mutable std::mutex m_logMutex; // serialises append, take and deliver of one record
    std::deque<std::string> m_logQueue;
    int m_windowLogging = 1; // guarded by m_logMutex
};

// Formats a status text the way the records are built ("Port open %s\r" and the like).
std::string FormatText(const char* format, ...) VIREO_PRINTF_FORMAT(1, 2);
