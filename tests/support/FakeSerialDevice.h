// A scripted serial device: the test plays the far end, the modem lines and the driver's
// failures. The port owns the device; the test keeps the FakeLine behind it. Like a real device
// it has a descriptor, readable while bytes from the far end wait or after a hang-up, so the
// port reads it as it reads any other.
#pragma once

#include "platform/serial/SerialDevice.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace testing_support {

class FakeLine {
public:
    // What the far end answers to each write: the pieces, each arriving as its own read.
    using Responder = std::function<std::vector<std::string>(const std::string& written)>;

    int openError = 0;
    bool configureOk = true;
    bool purgeOk = true;
    bool eventMaskOk = true;
    serial::ModemLines lines{true, true, false, true};
    bool linesReadable = true;
    serial::WriteOutcome writeOutcome = serial::WriteOutcome::Completed;
    int writeError = 0;
    int writeShortBy = 0; // bytes the write leaves unsent
    int readError = 0;    // makes the next read fail

    void SetResponder(Responder responder);
    // Bytes arriving from the far end, as one read.
    void Deliver(const std::string& bytes);
    // A line event (serial::Event bits) for the event wait.
    void RaiseEvent(unsigned events);
    // The device goes away: its descriptor hangs up and the event wait ends with a failure.
    void HangUp();
    // Waits (up to timeoutMs) until at least `writes` writes were made and every byte and
    // event the far end sent has been taken. False on the time-out.
    bool WaitIdle(std::size_t writes, int timeoutMs);

    std::vector<std::string> Written() const;
    std::string PathOpened() const;
    bool IsOpen() const;
    int OpenCount() const;

    std::unique_ptr<serial::ISerialDevice> MakeDevice();

private:
    friend class FakeSerialDevice;
    // An open device's descriptor: a pipe that holds a byte exactly while pieces wait.
    struct Bell {
        int fds[2] = {-1, -1};
        bool rung = false;
    };
    // Brings every open device's bell in line with the pieces; m_mutex held.
    void RingLocked();

    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<std::string> m_pieces; // from the far end, each one read
    std::deque<unsigned> m_events;    // line events not yet reported
    std::vector<std::string> m_written;
    Responder m_responder;
    std::string m_path;
    unsigned m_mask = 0;
    std::vector<Bell*> m_bells; // of the open devices
    bool m_open = false;
    bool m_hungUp = false;
    int m_openCount = 0;
};

} // namespace testing_support
