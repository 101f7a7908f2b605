// The COM-PORT-OPTION of telnet (RFC 2217): the requests that carry the line settings to the
// access server, and the server's answers and notifications read back.
#pragma once

#include "platform/serial/SerialDevice.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace serial::comport {

inline constexpr std::uint8_t kOption = 44;

// Client commands; the server answers with the same command plus kServerOffset.
enum Command : std::uint8_t {
    SetBaudRate = 1,
    SetDataSize = 2,
    SetParity = 3,
    SetStopSize = 4,
    SetControl = 5,
    NotifyModemState = 7,
    SetModemStateMask = 11,
    PurgeData = 12,
};
inline constexpr std::uint8_t kServerOffset = 100;

// SET-CONTROL values used here.
inline constexpr std::uint8_t kFlowNone = 1;
inline constexpr std::uint8_t kFlowXonXoff = 2;
inline constexpr std::uint8_t kFlowHardware = 3;
inline constexpr std::uint8_t kDtrOn = 8;
inline constexpr std::uint8_t kRtsOn = 11;
inline constexpr std::uint8_t kPurgeBoth = 3;

// The subnegotiation payloads (command byte, then value) that set the line: baud rate, data
// size, parity, stop bits, flow control, DTR and RTS raised, and every modem line reported.
// Empty when a setting has no form in the protocol.
std::vector<std::string> LineRequests(const LineSettings& settings);

// The payload of a PURGE-DATA request for both directions.
std::string PurgeRequest();

// One answer or notification of the server, read from a subnegotiation payload.
struct ServerMessage {
    std::uint8_t command = 0; // the client command it answers (kServerOffset taken off)
    std::uint32_t value = 0;  // a baud rate, or the one-byte value
    bool valid = false;       // false for a payload too short or not from a server
};
ServerMessage ReadServerMessage(const std::uint8_t* payload, std::size_t size);

// The modem lines a NOTIFY-MODEMSTATE value reports.
ModemLines ModemLinesOf(std::uint8_t state);

} // namespace serial::comport
