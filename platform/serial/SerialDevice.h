// The serial device the RS-232C port drives. One implementation sits on termios; tests script
// their own to play modem lines, driver errors and partial reads.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/serial/PortName.h"

namespace serial {

// Line events, with the bit values the Windows event mask uses.
enum EventBits : unsigned {
    EvRxChar = 0x0001,
    EvRxFlag = 0x0002,
    EvTxEmpty = 0x0004,
    EvCts = 0x0008,
    EvDsr = 0x0010,
    EvRlsd = 0x0020,
    EvBreak = 0x0040,
    EvErr = 0x0080,
    EvRing = 0x0100,
};

struct LineSettings {
    int baudRate = 9600;
    std::uint8_t parity = 0;   // 0 none, 1 odd, 2 even, 3 mark, 4 space
    std::uint8_t byteSize = 8; // data bits, 5..8
    std::uint8_t stopBits = 0; // 0 one, 1 one and a half, 2 two
    bool ctsOutFlow = false;   // RTS/CTS handshake
    bool dsrOutFlow = false;   // DSR/DTR handshake
    bool xonXoff = false;      // XON/XOFF both ways
};

struct ModemLines {
    bool cts = false;
    bool dsr = false;
    bool ring = false;
    bool dcd = false;
};

enum class WriteOutcome {
    Completed, // the write finished (all bytes, or as many as the time-out allowed)
    Failed,    // the write started and then failed; errorCode says why
    Refused,   // the driver refused the write at once
};

class ISerialDevice {
public:
    virtual ~ISerialDevice() = default;

    // Opens the device for exclusive use. Returns 0 or an errno value (network devices: or a
    // value of NetworkConnect.h).
    virtual int Open(const std::string& path) = 0;
    virtual void Close() = 0;

    virtual bool Configure(const LineSettings& settings) = 0;
    virtual bool SetTimeouts(int readIntervalMs, int readTotalMs, int writeTotalMs) = 0;
    virtual bool Purge() = 0;

    // Selects the events WaitEvent reports. A mask of 0 ends a wait in progress with 0.
    virtual bool SetEventMask(unsigned mask) = 0;
    // Blocks until an event of the mask occurs; returns its bits. Returns 0 when the mask was
    // cleared, or when the device failed, with a reason then set.
    virtual unsigned WaitEvent(std::string& failure) = 0;

    // Clears a pending line error and returns its error flags (0 when none).
    virtual unsigned ClearError() = 0;
    virtual int BytesWaiting() = 0;
    // Reads up to max bytes without blocking. Returns the count, or -1 with errorCode set.
    virtual int Read(std::uint8_t* buffer, int max, int& errorCode) = 0;
    // Writes n bytes within the write time-out.
    virtual WriteOutcome Write(const std::uint8_t* data, int n, int& written, int& errorCode) = 0;
    virtual bool GetModemLines(ModemLines& lines) = 0;
    // A descriptor that polls readable when Read may have bytes or the device has failed (Read
    // may still find none); -1 when the device has none.
    virtual int PollDescriptor() const = 0;
    // Why the last Open or Configure failed, when the device knows more than its error code.
    virtual std::string FailureDetail() const { return {}; }
    // Why a device that was working stopped (a connection the server closed); empty when the
    // device cannot tell more than its error code.
    virtual std::string LostReason() const { return {}; }
};

std::unique_ptr<ISerialDevice> CreateTermiosDevice();

// A short reason for a failed Open, with what the user can do about it.
std::string OpenFailureReason(int error, const std::string& path);

} // namespace serial
