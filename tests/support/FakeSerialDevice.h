// A scripted serial device: the test plays the far end, the modem lines and the driver's
// failures. The port owns the device; the test keeps the FakeLine behind it.
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
    bool timeoutsOk = true;
    bool purgeOk = true;
    bool eventMaskOk = true;
    serial::ModemLines lines{true, true, false, true};
    bool linesReadable = true;
    serial::WriteOutcome writeOutcome = serial::WriteOutcome::Completed;
    int writeError = 0;
    int writeShortBy = 0;    // bytes the write leaves unsent
    unsigned errorFlags = 0; // what ClearError reports after a failed read or write
    int readError = 0;       // makes the next read fail

    void SetResponder(Responder responder);
    // Bytes arriving from the far end, one read event.
    void Deliver(const std::string& bytes);
    void RaiseEvent(unsigned mask);
    // The device goes away: the event wait ends with a failure.
    void HangUp();
    // Waits (up to timeoutMs) until at least `writes` writes were made and the port's event
    // thread has taken every byte and event and waits for more. False on the time-out.
    bool WaitIdle(std::size_t writes, int timeoutMs);

    std::vector<std::string> Written() const;
    std::string PathOpened() const;
    bool IsOpen() const;
    int OpenCount() const;

    std::unique_ptr<serial::ISerialDevice> MakeDevice();

private:
    friend class FakeSerialDevice;
    struct Event {
        unsigned mask;
        std::string bytes;
    };
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    std::deque<Event> m_events;
    std::string m_input;
    std::vector<std::string> m_written;
    Responder m_responder;
    std::string m_path;
    unsigned m_mask = 0;
    unsigned m_raisedFlags = 0;
    bool m_open = false;
    bool m_hungUp = false;
    bool m_waiting = false; // the event thread is blocked in WaitEvent with nothing to report
    int m_openCount = 0;
};

} // namespace testing_support
