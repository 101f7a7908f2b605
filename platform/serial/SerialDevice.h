// The serial device the RS-232C port drives. One implementation sits on termios, two on a
// network socket; tests script their own to play modem lines, driver errors and partial reads.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/serial/PortName.h"

namespace serial {

// What an event wait reports, as a set of these bits.
enum Event : unsigned {
    EventReceived = 0x01,   // bytes arrived
    EventCtsChanged = 0x02, // a modem line changed
    EventDsrChanged = 0x04,
    EventDcdChanged = 0x08,
    EventRingEnded = 0x10, // a ring is reported as it ends
    EventBreak = 0x20,     // the line reported a break
    EventLineError = 0x40, // the line reported a framing, parity or overrun error
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
    virtual int Open(const PortAddress& address) = 0;
    virtual void Close() = 0;

    virtual bool Configure(const LineSettings& settings) = 0;
    virtual bool Purge() = 0;

    // Selects the events WaitEvent reports.
    virtual bool Watch(unsigned events) = 0;
    // Ends a wait in progress, and every later one, with 0; Watch starts them again.
    virtual void EndWait() = 0;
    // Blocks until a watched event occurs; returns its bits. Returns 0 after EndWait, or when
    // the device failed, with a reason then set.
    virtual unsigned WaitEvent(std::string& failure) = 0;

    // Reads up to max bytes without blocking. Returns the count (0 when none is there), or -1
    // with errorCode set.
    virtual int Read(std::uint8_t* buffer, int max, int& errorCode) = 0;
    // Writes n bytes, waiting for room at most timeoutMs.
    virtual WriteOutcome Write(const std::uint8_t* data, int n, int timeoutMs, int& written,
                               int& errorCode) = 0;
    // Whether the far end's modem lines reach this device at all.
    virtual bool HasModemLines() const = 0;
    // The lines now; false when they cannot be read at the moment.
    virtual bool GetModemLines(ModemLines& lines) = 0;
    // A descriptor that polls readable when Read may have bytes or the device has failed (Read
    // may still find none).
    virtual int PollDescriptor() const = 0;
    // Why the last Open or Configure failed, when the device knows more than its error code.
    virtual std::string FailureDetail() const { return {}; }
    // Why a device that was working stopped (a connection the server closed); empty when the
    // device cannot tell more than its error code.
    virtual std::string LostReason() const { return {}; }
};

std::unique_ptr<ISerialDevice> CreateTermiosDevice();
// The local serial device of this system: termios on Linux, a Win32 COM port on Windows.
std::unique_ptr<ISerialDevice> CreateLocalDevice();

// A short reason for a failed Open, with what the user can do about it.
std::string OpenFailureReason(int error, const PortAddress& address);

} // namespace serial
