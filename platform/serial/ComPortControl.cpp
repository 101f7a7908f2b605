#include "platform/serial/ComPortControl.h"

namespace serial::comport {
namespace {

std::string Request(std::uint8_t command, std::uint8_t value)
{
    return std::string{static_cast<char>(command), static_cast<char>(value)};
}

// RFC 2217 numbers parity 1..5 (none, odd, even, mark, space): the Windows codes plus one.
constexpr std::uint8_t kParityNone = 1;
// Stop sizes: 1 one, 2 two, 3 one and a half.
constexpr std::uint8_t kStopCodes[] = {1, 3, 2};

// Modem state bits of NOTIFY-MODEMSTATE.
constexpr std::uint8_t kCd = 0x80;
constexpr std::uint8_t kRi = 0x40;
constexpr std::uint8_t kDsr = 0x20;
constexpr std::uint8_t kCts = 0x10;

} // namespace

std::vector<std::string> LineRequests(const LineSettings& s)
{
    if (s.baudRate <= 0 || s.byteSize < 5 || s.byteSize > 8 || s.parity > 4 || s.stopBits > 2)
        return {};
    const auto baud = static_cast<std::uint32_t>(s.baudRate);
    std::string setBaud{static_cast<char>(SetBaudRate)};
    for (int shift = 24; shift >= 0; shift -= 8)
        setBaud += static_cast<char>((baud >> shift) & 0xFF);
    const std::uint8_t flow = s.ctsOutFlow ? kFlowHardware : s.xonXoff ? kFlowXonXoff : kFlowNone;
    return {
        setBaud,
        Request(SetDataSize, s.byteSize),
        Request(SetParity, static_cast<std::uint8_t>(kParityNone + s.parity)),
        Request(SetStopSize, kStopCodes[s.stopBits]),
        Request(SetControl, flow),
        Request(SetControl, kDtrOn),
        Request(SetControl, kRtsOn),
        Request(SetModemStateMask, 0xFF),
    };
}

std::string PurgeRequest()
{
    return Request(PurgeData, kPurgeBoth);
}

ServerMessage ReadServerMessage(const std::uint8_t* payload, std::size_t size)
{
    ServerMessage message;
    if (size < 2 || payload[0] < kServerOffset)
        return message;
    message.command = static_cast<std::uint8_t>(payload[0] - kServerOffset);
    if (message.command == SetBaudRate) {
        if (size < 5)
            return message;
        message.value = (std::uint32_t{payload[1]} << 24) | (std::uint32_t{payload[2]} << 16) |
                        (std::uint32_t{payload[3]} << 8) | payload[4];
    } else {
        message.value = payload[1];
    }
    message.valid = true;
    return message;
}

ModemLines ModemLinesOf(std::uint8_t state)
{
    ModemLines lines;
    lines.cts = state & kCts;
    lines.dsr = state & kDsr;
    lines.ring = state & kRi;
    lines.dcd = state & kCd;
    return lines;
}

} // namespace serial::comport
