#include "comm/Cas.h"

#include "platform/camlink/ClErrorText.h"
#include "platform/camlink/ClLibrary.h"
#include "platform/profile/Profile.h"
#include "platform/wait/Wait.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <string_view>
#include <thread>
#include <vector>

namespace {

constexpr CLUINT32 kReadTimeoutMs = 1000;
// The longest pause after a read that came back early with nothing.
constexpr auto kEmptyReadPause = std::chrono::milliseconds(5);

const camlink::ClFunctions& Cl()
{
    return camlink::Library();
}

// Copies a text the library wrote into a buffer of kTextSize, cut to fit.
void CopyText(char* to, const char* from)
{
    const std::size_t n = strnlen(from, CCas::kTextSize - 1);
    std::memcpy(to, from, n);
    to[n] = '\0';
}

// The stored text equals the beginning of the port's text (an empty one matches any port).
bool StartsWith(const char* portText, const std::string& stored)
{
    return std::string_view(portText).substr(0, stored.size()) == stored;
}

} // namespace

std::uint32_t CCas::BaudRateCode(int rate)
{
    switch (rate) {
    case 9600:
        return CL_BAUDRATE_9600;
    case 19200:
        return CL_BAUDRATE_19200;
    case 38400:
        return CL_BAUDRATE_38400;
    case 57600:
        return CL_BAUDRATE_57600;
    case 115200:
        return CL_BAUDRATE_115200;
    case 230400:
        return CL_BAUDRATE_230400;
    case 460800:
        return CL_BAUDRATE_460800;
    case 921600:
        return CL_BAUDRATE_921600;
    default:
        return CL_BAUDRATE_9600;
    }
}

std::string CCas::LibraryErrorText(int code)
{
    if (!camlink::IsStandardError(code))
        return {};
    char buffer[kTextSize] = {};
    CLUINT32 size = sizeof buffer;
    if (Cl().clGetErrorText(m_szVendorName, code, buffer, &size) != CL_ERR_NO_ERR)
        return {};
    buffer[kTextSize - 1] = '\0';
    return buffer;
}

void CCas::LogClError(int code)
{
    ClFailure(code);
}

CResult CCas::ClFailure(int code)
{
    std::string text = LibraryErrorText(code);
    // A library that cannot name its own error still leaves a readable record.
    if (text.empty() && camlink::IsStandardError(code))
        text = camlink::FallbackErrorText(code);
    if (text.empty())
        Status(FormatText("UnknownError code:%d", code));
    else
        Status(text);
    return CResult::Grabber(code, std::move(text));
}

int CCas::LoadSettings()
{
    // The common settings and the grabber's own from one store.
    const profile::Batch batch;
    CCom::LoadSettings();
    m_strLastVendorName = profile::GetProfileString(kCommSection, "LastCasVendorName", "");
    m_strLastPortID = profile::GetProfileString(kCommSection, "LastCasPortID", "");
    m_dwLastVersion =
        static_cast<std::uint32_t>(profile::GetProfileInt(kCommSection, "LastCasVer", 0));
    m_nBaudRate = profile::GetProfileInt(kCommSection, "BaudRate", 9600);
    return 1;
}

void CCas::SaveSettings()
{
    const profile::Batch batch;
    CCom::SaveSettings();
    m_strLastVendorName = m_szVendorName;
    m_strLastPortID = m_szPortID;
    m_dwLastVersion = m_dwVersion;
    profile::WriteProfileString(kCommSection, "LastCasVendorName", m_strLastVendorName);
    profile::WriteProfileString(kCommSection, "LastCasPortID", m_strLastPortID);
    profile::WriteProfileInt(kCommSection, "LastCasVer", static_cast<int>(m_dwLastVersion));
    profile::WriteProfileInt(kCommSection, "BaudRate", m_nBaudRate);
}

int CCas::QueryPort(int index, char* manufacturer, char* id, std::uint32_t& version)
{
    char name[kTextSize] = {};
    char port[kTextSize] = {};
    CLUINT32 nameBytes = kTextSize;
    CLUINT32 idBytes = kTextSize;
    CLUINT32 portVersion = 0;
    const CLINT32 result = Cl().clGetPortInfo(static_cast<CLUINT32>(index), name, &nameBytes, port,
                                              &idBytes, &portVersion);
    if (result != CL_ERR_NO_ERR)
        return result;
    name[kTextSize - 1] = '\0';
    port[kTextSize - 1] = '\0';
    CopyText(manufacturer, name);
    CopyText(id, port);
    version = portVersion;
    return CL_ERR_NO_ERR;
}

int CCas::Initialize()
{
    CLUINT32 count = 0;
    if (const CLINT32 result = Cl().clGetNumPorts(&count); result != CL_ERR_NO_ERR) {
        m_nPortCount = 0;
        LogClError(result);
        return 0;
    }
    m_nPortCount = count;
    if (m_nPortCount == 0) {
        Status("There is no CL port. ");
        return 0;
    }
    LoadSettings();

    for (std::uint32_t index = 0; index < m_nPortCount; ++index) {
        char name[kTextSize];
        char port[kTextSize];
        std::uint32_t version = 0;
        const int i = static_cast<int>(index);
        if (const int result = QueryPort(i, name, port, version); result != CL_ERR_NO_ERR) {
            LogClError(result);
            continue;
        }
        if (StartsWith(name, m_strLastVendorName) && StartsWith(port, m_strLastPortID) &&
            version == m_dwLastVersion) {
            // The selected port's identity stays with the index, for Open and its records.
            m_nPortIndex = i;
            CopyText(m_szVendorName, name);
            CopyText(m_szPortID, port);
            m_dwVersion = version;
            break;
        }
    }
    return 1;
}

int CCas::SelectPort(int index)
{
    if (index < 0)
        return 0;
    m_nPortIndex = index;
    if (static_cast<std::uint32_t>(index) >= m_nPortCount)
        return 0;
    if (const int result = QueryPort(index, m_szVendorName, m_szPortID, m_dwVersion);
        result != CL_ERR_NO_ERR) {
        // No identity of another port may stay behind under this index.
        m_szVendorName[0] = '\0';
        m_szPortID[0] = '\0';
        m_dwVersion = 0;
        LogClError(result);
        return 0;
    }
    return 1;
}

int CCas::GetPortInfo(int index, char* manufacturer, char* id, std::uint32_t& version)
{
    if (index < 0 || static_cast<std::uint32_t>(index) >= m_nPortCount)
        return 0;
    if (const int result = QueryPort(index, manufacturer, id, version); result != CL_ERR_NO_ERR) {
        LogClError(result);
        return 0;
    }
    return 1;
}

int CCas::GetPortManufacturer(int index, char* text)
{
    char id[kTextSize];
    std::uint32_t version = 0;
    return GetPortInfo(index, text, id, version);
}

int CCas::GetPortId(int index, char* text)
{
    char manufacturer[kTextSize];
    std::uint32_t version = 0;
    return GetPortInfo(index, manufacturer, text, version);
}

int CCas::Open()
{
    m_openProblem.clear();
    if (m_nPortIndex < 0 || static_cast<std::uint32_t>(m_nPortIndex) >= m_nPortCount) {
        Status("Port Open Failure Invalid Port No.");
        m_openProblem =
            m_nPortCount == 0 ? "there is no Camera Link port" : "no Camera Link port is chosen";
        return 0;
    }
    hSerRef reference = nullptr;
    CLINT32 result = Cl().clSerialInit(static_cast<CLUINT32>(m_nPortIndex), &reference);
    // A reference the library does not give cannot be used for anything later.
    if (result == CL_ERR_NO_ERR && !reference)
        result = CL_ERR_INVALID_REFERENCE;
    if (result != CL_ERR_NO_ERR) {
        const CResult failure = ClFailure(result);
        Status("Port Open Failure ");
        m_openProblem = "Camera Link port " + std::to_string(m_nPortIndex) + ": " +
                        (failure.Reason().empty() ? "the library refused it" : failure.Reason());
        return 0;
    }
    m_hSerRef = reference;
    m_openIndex = m_nPortIndex;
    m_openVendor = m_szVendorName;
    m_openPortId = m_szPortID;
    SetBaudRate(m_nBaudRate);
    SaveSettings();
    Status(FormatText("Port Open Sucsess CAS No.:%d Vendor:%s Port:%s\n", m_nPortIndex,
                      m_szVendorName, m_szPortID));
    return 1;
}

void CCas::SetBaudRate(int rate)
{
    m_rateOffered = true;
    if (std::strncmp(m_szVendorName, "Matrox", kTextSize) == 0)
        return;
    const std::uint32_t code = BaudRateCode(rate);
    // Without an answer the port is taken to support no rate, so its rate is left alone.
    CLUINT32 mask = 0;
    if (const CLINT32 result = Cl().clGetSupportedBaudRates(m_hSerRef, &mask);
        result != CL_ERR_NO_ERR) {
        mask = 0;
        LogClError(result);
    }
    if ((mask & code) == 0) {
        m_rateOffered = false;
        Status("Port Open Failure Baudrate Parameter Error");
        return;
    }
    if (const CLINT32 result = Cl().clSetBaudRate(m_hSerRef, code); result != CL_ERR_NO_ERR)
        LogClError(result);
    m_nBaudRate = rate;
    SaveSettings();
}

int CCas::Close()
{
    if (m_hSerRef) {
        Cl().clSerialClose(m_hSerRef);
        Status(FormatText("Port Close Sucsess CAS No.:%d Vendor:%s Port:%s\n", m_openIndex,
                          m_openVendor.c_str(), m_openPortId.c_str()));
        m_hSerRef = nullptr;
    }
    return 1;
}

int CCas::IsOpen()
{
    return m_hSerRef != nullptr ? 1 : 0;
}

CResult CCas::SendReceive(const char* request, char* reply, std::size_t replySize)
{
    const camlink::ClFunctions& cl = Cl();
    // A closed port has no reference to hand the library.
    CLINT32 result = m_hSerRef ? cl.clFlushPort(m_hSerRef) : CL_ERR_INVALID_REFERENCE;
    if (result != CL_ERR_NO_ERR) {
        CResult failure = ClFailure(result);
        Status("clFlushPort() Failed.");
        return failure;
    }

    const std::size_t n = std::strlen(request);
    std::vector<CLINT8> out(request, request + n);
    CLUINT32 written = static_cast<CLUINT32>(n);
    const CLUINT32 writeTimeout = static_cast<CLUINT32>(std::max(0, m_Settings.HsTimeOut));
    result = cl.clSerialWrite(m_hSerRef, out.data(), &written, writeTimeout);
    if (result != CL_ERR_NO_ERR || written != n) {
        // Bytes left unsent within the time-out are the link's send time-out.
        CResult failure = result != CL_ERR_NO_ERR ? ClFailure(result) : CResult(LINK_TIMEOUT);
        Status("clSerialWrite() Failed.");
        return failure;
    }
    AddLogRecord(request, LOG_SEND);

    char buffer[kReplyMax + 1] = {};
    std::size_t length = 0;
    const auto deadline = std::chrono::steady_clock::now() +
                          std::chrono::milliseconds(std::max(0, m_Settings.HsTimeOut));
    waiting::IWaiter& waiter = waiting::Waiter();

    std::string terminator(1, static_cast<char>(m_Settings.Suffix));
    if (m_Settings.Suffix2 != 0)
        terminator += static_cast<char>(m_Settings.Suffix2);

    for (;;) {
        CLUINT32 available = 0;
        if (result = cl.clGetNumBytesAvail(m_hSerRef, &available); result != CL_ERR_NO_ERR) {
            CResult failure = ClFailure(result);
            Status("clGetNumBytesAvail() Failed.");
            return failure;
        }
        if (available > 0 && length < kReplyMax) {
            const CLUINT32 wanted =
                std::min<CLUINT32>(available, static_cast<CLUINT32>(kReplyMax - length));
            CLUINT32 count = wanted;
            result = cl.clSerialRead(m_hSerRef, buffer + length, &count, kReadTimeoutMs);
            if (result != CL_ERR_NO_ERR) {
                CResult failure = ClFailure(result);
                Status("clSerialRead() Failed.");
                return failure;
            }
            length += std::min(count, wanted);
            buffer[length] = '\0';
        } else if (length < kReplyMax) {
            // Nothing has come yet: the library's read waits for the next byte, with the time
            // that is left (in slices when the waiter wants its turn meanwhile).
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() > 0) {
                const auto slice = std::min(left, waiter.Slice());
                const auto sliceEnd = std::chrono::steady_clock::now() + slice;
                CLUINT32 count = 1;
                result = cl.clSerialRead(m_hSerRef, buffer + length, &count,
                                         static_cast<CLUINT32>(slice.count()));
                const bool gotByte = result == CL_ERR_NO_ERR && count > 0;
                if (gotByte) {
                    length += std::min<CLUINT32>(count, 1);
                    buffer[length] = '\0';
                } else if (result != CL_ERR_NO_ERR && result != CL_ERR_TIMEOUT) {
                    CResult failure = ClFailure(result);
                    Status("clSerialRead() Failed.");
                    return failure;
                } else {
                    // A library whose read comes back early and empty would make this loop spin:
                    // the rest of the slice is waited out here, in short pauses so that a reply
                    // is still taken soon after it comes.
                    const auto pauseEnd =
                        std::min(sliceEnd, std::chrono::steady_clock::now() + kEmptyReadPause);
                    std::this_thread::sleep_until(std::min(pauseEnd, deadline));
                }
            }
        }

        const std::string_view received(buffer, length);
        if (const std::size_t at = received.find(terminator); at != std::string_view::npos) {
            AddLogRecord(buffer, LOG_RECEIVE);
            // The reply is the frame up to its terminator, without prefix and terminators;
            // whatever followed the terminator is not part of it.
            std::size_t end = at + terminator.size();
            std::size_t begin = 0;
            if (m_Settings.Prefix != 0)
                begin = 1;
            const std::size_t drop = (m_Settings.Suffix != 0) + (m_Settings.Suffix2 != 0);
            end = end >= begin + drop ? end - drop : begin;
            if (replySize > 0) {
                const std::size_t copied = std::min(end - begin, replySize - 1);
                std::memcpy(reply, buffer + begin, copied);
                reply[copied] = '\0';
            }
            return LINK_OK;
        }

        // A full buffer without terminator can never become a reply: give up at once.
        const bool full = length >= kReplyMax;
        if (full)
            AddLogRecord(buffer, LOG_RECEIVE);
        if (full || std::chrono::steady_clock::now() >= deadline) {
            Status("RCV Timeout");
            return LINK_TIMEOUT;
        }
        if (!waiter.Pump(Cancel()))
            return LINK_CANCELLED;
    }
}
