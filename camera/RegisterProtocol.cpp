// The four register exchanges: frames out, replies judged.
#include "camera/RVXReg.h"

#include "comm/ComIF.h"

#include <cstdio>
#include <cstring>
#include <utility>

namespace {

constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;
constexpr std::size_t kRequestSize = 16;

CResult JudgeAcknowledge(const char* reply)
{
    if (reply[0] == ACK)
        return REG_OK;
    if (reply[0] == NAK)
        return REG_NAK;
    return REG_INVALID_DATA;
}

// Writes value as printf's "%02X" would (upper-case hex, at least two digits) and returns the
// end. Requests are built on every exchange, where the formatted-output machinery costs more
// than the exchange's own work.
char* PutHex(char* out, int value)
{
    char digits[8];
    int n = 0;
    unsigned rest = static_cast<unsigned>(value);
    do {
        digits[n++] = "0123456789ABCDEF"[rest & 0xF];
        rest >>= 4;
    } while (rest != 0);
    if (n < 2)
        digits[n++] = '0';
    while (n > 0)
        *out++ = digits[--n];
    return out;
}

// STX, the address, what follows it, ETX: one request frame, zero-terminated.
void BuildRequest(char (&request)[kRequestSize], int address, const char* rest,
                  std::size_t restSize)
{
    char* end = PutHex(request + 1, address);
    request[0] = STX;
    std::memcpy(end, rest, restSize);
    end += restSize;
    *end++ = ETX;
    *end = '\0';
}

} // namespace

int ParseHex(char* text, std::uint32_t& value)
{
    if (text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        std::memmove(text, text + 2, std::strlen(text + 2) + 1);
    const std::size_t n = std::strlen(text);
    if (n > 8)
        return 0;
    std::uint32_t number = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const char c = text[i];
        std::uint32_t digit;
        if (c >= '0' && c <= '9')
            digit = static_cast<std::uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = static_cast<std::uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = static_cast<std::uint32_t>(c - 'A' + 10);
        else
            return 0;
        number = number << 4 | digit;
    }
    value = number;
    return 1;
}

CRVXReg::CRVXReg() : m_pComIF(&g_ComIF) {}

CRVXReg::CRVXReg(CComIF* comIF) : m_pComIF(comIF) {}

CRVXReg::~CRVXReg()
{
    m_pComIF = nullptr;
}

CResult CRVXReg::ReadRegister(int address, std::uint8_t& value)
{
    value = 0;
    char request[kRequestSize];
    BuildRequest(request, address, "RQ", 2);
    char reply[kReplyBufferSize] = {};
    if (const CResult result = m_pComIF->SendReceive(request, reply, sizeof reply))
        return result;
    if (reply[0] == ACK)
        return REG_OK;
    if (reply[0] == NAK)
        return REG_NAK;
    std::uint32_t number = 0;
    if (!ParseHex(reply, number) || number > 0xFF)
        return REG_INVALID_DATA;
    value = static_cast<std::uint8_t>(number);
    if (m_writeWatch)
        m_lastRead[address] = value;
    return REG_OK;
}

void CRVXReg::SetWriteWatch(RegisterWriteWatch watch, bool readBefore)
{
    m_writeWatch = std::move(watch);
    m_readBefore = readBefore && m_writeWatch;
    m_lastRead.clear();
}

CResult CRVXReg::ReadBeforeWrite(int address)
{
    if (!m_readBefore || m_lastRead.count(address))
        return {};
    std::uint8_t now = 0;
    const CResult result = ReadRegister(address, now);
    // A refusal or a strange answer leaves the value unknown; the write itself still goes.
    return result.Kind() == ResultKind::Camera ? CResult() : result;
}

void CRVXReg::WatchWrite(int address, const CResult& result, bool readBack,
                         std::optional<std::string> textBefore, unsigned textMaximum)
{
    RegisterWrite write;
    write.address = address;
    write.result = result;
    write.operation = m_operation;
    write.textBefore = std::move(textBefore);
    if (const auto it = m_lastRead.find(address); it != m_lastRead.end())
        write.before = it->second;
    m_lastRead.erase(address);
    // A link that failed would only make the read wait out another time-out.
    const bool linkWorks =
        result.Kind() != ResultKind::Link && result.Kind() != ResultKind::Cancelled;
    std::uint8_t back = 0;
    if (readBack && linkWorks && ReadRegister(address, back).Ok() && m_lastRead.count(address))
        write.after = back;
    char text[kIdTextSize] = {};
    if (textMaximum > 0 && linkWorks && textMaximum < kIdTextSize &&
        ReadRegisterString(address, text, textMaximum).Ok())
        write.textAfter = text;
    m_writeWatch(write);
}

CResult CRVXReg::WriteRegister(int address, int value)
{
    if (m_writeWatch)
        if (const CResult failed = ReadBeforeWrite(address))
            return failed;
    const CResult result = SendWrite(address, value);
    if (m_writeWatch)
        WatchWrite(address, result, true);
    return result;
}

CResult CRVXReg::SendWrite(int address, int value)
{
    char request[kRequestSize];
    char data[2];
    PutHex(data, value & 0xFF);
    BuildRequest(request, address, data, 2);
    char reply[kReplyBufferSize] = {};
    if (const CResult result = m_pComIF->SendReceive(request, reply, sizeof reply))
        return result;
    return JudgeAcknowledge(reply);
}

CResult CRVXReg::ReadRegisterString(int address, char* text, unsigned maximum)
{
    for (unsigned i = 0; i < maximum; ++i) {
        char request[kRequestSize];
        BuildRequest(request, address + static_cast<int>(i), "RQ", 2);
        char reply[kReplyBufferSize] = {};
        if (const CResult result = m_pComIF->SendReceive(request, reply, sizeof reply))
            return result;
        std::uint32_t number = 0;
        if (reply[0] == NAK)
            return CResult(REG_INVALID_DATA).AsRefused();
        if (!ParseHex(reply, number) || number > 0xFF)
            return REG_INVALID_DATA;
        if (number == 0xFE)
            number = 0;
        text[i] = static_cast<char>(number);
        if (number == 0)
            break;
        text[i + 1] = '\0';
    }
    return REG_OK;
}

CResult CRVXReg::WriteRegisterString(int address, const char* text, unsigned maximum)
{
    // A text has no one value before or after: the record names its first register and, when
    // asked to, the texts read before and after.
    std::optional<std::string> before;
    const bool readTexts = m_writeWatch && m_readBefore && maximum < kIdTextSize;
    if (readTexts) {
        char now[kIdTextSize] = {};
        const CResult read = ReadRegisterString(address, now, maximum);
        if (read.Ok())
            before = now;
        else if (read.Kind() != ResultKind::Camera)
            return read;
    }
    const CResult result = SendString(address, text, maximum);
    if (m_writeWatch)
        WatchWrite(address, result, false, std::move(before), readTexts ? maximum : 0);
    return result;
}

CResult CRVXReg::SendString(int address, const char* text, unsigned maximum)
{
    char reply[kReplyBufferSize] = {};
    for (unsigned i = 0; i < maximum; ++i) {
        char request[kRequestSize];
        // A terminating zero ends the request text after the address digits; that short frame
        // is still sent and ends the loop.
        BuildRequest(request, address + static_cast<int>(i), &text[i], 1);
        std::memset(reply, 0, sizeof reply);
        if (const CResult result = m_pComIF->SendReceive(request, reply, sizeof reply))
            return result;
        if (text[i] == '\0')
            break;
    }
    return JudgeAcknowledge(reply);
}

void CRVXReg::GetResultText(int code, char* text)
{
    const std::string result = GetResultText(code);
    std::snprintf(text, kResultTextSize, "%s", result.c_str());
}

std::string CRVXReg::GetResultText(int code)
{
    const std::string text = RegisterResultText(code);
    return text.empty() ? LinkResultText(code) : text;
}
