#include "comm/Com.h"

#include "comm/ReplyTimeOut.h"
#include "platform/log/LogWriter.h"
#include "platform/profile/Profile.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace {

constexpr std::size_t kLogRecordSourceMax = 256;

const char* const kControlNames[32] = {
    "[NUL]", "[SOH]", "[STX]", "[ETX]", "[EOT]", "[ENQ]", "[ACK]", "[BEL]",
    "[BS]",  "[HT]",  "[LF]",  "[VT]",  "[FF]",  "\r",    "[S0]",  "[S1]",
    "[DLE]", "[DC1]", "[DC2]", "[DC3]", "[DC4]", "[NAK]", "[SYN]", "[ETB]",
    "[CAN]", "[EM]",  "[SUB]", "[ESC]", "[FS]",  "[GS]",  "[RS]",  "[US]",
};

std::uint8_t ToByte(int value)
{
    return static_cast<std::uint8_t>(value);
}

} // namespace

std::string FormatText(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

CCom::~CCom() = default;

int CCom::LoadSettings()
{
    using profile::GetProfileInt;
    {
        // One store for the whole load.
        const profile::Batch batch;
        std::string name = profile::GetProfileString(kCommSection, "Port Name", "COM3");
        if (name.size() > kPortNameMax)
            name.resize(kPortNameMax);
        m_Settings.PortName = name;
        m_Settings.BaudRate = GetProfileInt(kCommSection, "BaudRate", 9600);
        m_Settings.Parity = ToByte(GetProfileInt(kCommSection, "Parity", 0));
        m_Settings.ByteSize = ToByte(GetProfileInt(kCommSection, "ByteSize", 8));
        m_Settings.StopBits = ToByte(GetProfileInt(kCommSection, "StopBits", 0));
        m_Settings.fDsr = GetProfileInt(kCommSection, "fDsr", 0);
        m_Settings.fRts = GetProfileInt(kCommSection, "fRts", 0);
        m_Settings.fOutX = GetProfileInt(kCommSection, "fOutX", 0);
        m_Settings.HsTimeOut = LoadReplyTimeOut();
        m_Settings.Prefix = ToByte(GetProfileInt(kCommSection, "Prefix", 2));
        m_Settings.Suffix = ToByte(GetProfileInt(kCommSection, "Suffix", 3));
        m_Settings.Suffix2 = ToByte(GetProfileInt(kCommSection, "Suffix2", 0));
    }
    ReportStoreProblem();
    return 1;
}

void CCom::SaveSettings()
{
    using profile::WriteProfileInt;
    {
        // One store for the whole save, written once at its end.
        const profile::Batch batch;
        profile::WriteProfileString(kCommSection, "Port Name", m_Settings.PortName);
        WriteProfileInt(kCommSection, "BaudRate", m_Settings.BaudRate);
        WriteProfileInt(kCommSection, "Parity", m_Settings.Parity);
        WriteProfileInt(kCommSection, "ByteSize", m_Settings.ByteSize);
        WriteProfileInt(kCommSection, "StopBits", m_Settings.StopBits);
        WriteProfileInt(kCommSection, "fDsr", m_Settings.fDsr);
        WriteProfileInt(kCommSection, "fRts", m_Settings.fRts);
        WriteProfileInt(kCommSection, "fOutX", m_Settings.fOutX);
        WriteProfileInt(kCommSection, "HsTimeOut", m_Settings.HsTimeOut);
        WriteProfileInt(kCommSection, "Prefix", m_Settings.Prefix);
        WriteProfileInt(kCommSection, "Suffix", m_Settings.Suffix);
        WriteProfileInt(kCommSection, "Suffix2", m_Settings.Suffix2);
    }
    ReportStoreProblem();
}

int CCom::LoadReplyTimeOut()
{
    // Read as text, so that a stored value that is not a number can be told from a missing one.
    const std::string stored =
        profile::GetProfileString(kCommSection, "HsTimeOut", std::to_string(kReplyTimeOutDefault));
    int value = kReplyTimeOutDefault;
    if (ParseReplyTimeOut(stored, value))
        return value;
    if (m_bReportSettingProblems)
        AddLogRecord(FormatText("Stored HsTimeOut \"%.40s\" is not from %d to %d ms: %d ms used\r",
                                stored.c_str(), kReplyTimeOutMin, kReplyTimeOutMax,
                                kReplyTimeOutDefault)
                         .c_str(),
                     LOG_STATUS);
    return kReplyTimeOutDefault;
}

void CCom::ReportStoreProblem()
{
    const std::string problem = profile::TakeProblem();
    if (!problem.empty())
        AddLogRecord(("Settings store: " + problem + "\r").c_str(), LOG_STATUS);
}

void CCom::FormatLogByte(std::uint8_t byte, std::string& text)
{
    if (byte >= 0x20)
        text.assign(1, static_cast<char>(byte));
    else
        text.assign(kControlNames[byte]);
}

int CCom::TakeLogRecord(std::string& text)
{
    if (m_logQueue.empty())
        return 0;
    text = std::move(m_logQueue.front());
    m_logQueue.pop_front();
    return 1;
}

void CCom::AddLogRecord(const char* text, int kind)
{
    // With no one to show it to, a record is not even formatted: exchanges run back to back.
    if (!g_pLogDlg.load(std::memory_order_acquire))
        return;
    const std::size_t n = strnlen(text, kLogRecordSourceMax);
    std::string record;
    switch (kind) {
    case LOG_RECEIVE:
    case LOG_SEND: {
        record = kind == LOG_RECEIVE ? "RCV : " : "SEND: ";
        std::string piece;
        for (std::size_t i = 0; i < n; ++i) {
            FormatLogByte(static_cast<std::uint8_t>(text[i]), piece);
            record += piece;
        }
        break;
    }
    case LOG_STATUS:
        record = "STAT: ";
        record.append(text, n);
        break;
    default:
        break;
    }

    std::lock_guard lock(m_logMutex);
    m_logQueue.push_back(std::move(record));
    std::string delivered;
    TakeLogRecord(delivered);
    ILogWriter* window = g_pLogDlg.load(std::memory_order_acquire);
    if (m_windowLogging && window)
        window->AddCommLog(delivered.c_str());
}

int CCom::GetErrorText(int code, std::string& text)
{
    text = LinkResultText(code);
    return text.empty() ? 0 : 1;
}

void CCom::SetWindowLoggingFlag(bool on)
{
    std::lock_guard lock(m_logMutex);
    m_windowLogging = on ? 1 : 0;
}

bool CCom::WindowLoggingFlag() const
{
    std::lock_guard lock(m_logMutex);
    return m_windowLogging != 0;
}
