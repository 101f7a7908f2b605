// The camera link over an RS-232C serial port: line settings from the settings block, an event
// thread that watches the line, and request/reply exchanges. During an exchange the caller
// reads the device itself, waiting on its descriptor; the event thread keeps the line events and
// the bytes that come between exchanges.
#pragma once

#include "comm/Com.h"
#include "platform/serial/SerialDevice.h"
#include "platform/wait/Wait.h"

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class CRs232c : public CCom {
public:
    using DeviceFactory =
        std::function<std::unique_ptr<serial::ISerialDevice>(const serial::PortAddress&)>;

    CRs232c();
    ~CRs232c() override;

    int Initialize() override;
    int Open() override;
    int Close() override;
    int IsOpen() override;
    // The same without the status record of a closed port: for the program's own look at the
    // port, which is not the user's.
    bool HasDevice() const { return m_device != nullptr; }
    CResult SendReceive(const char* request, char* reply, std::size_t replySize) override;

    // Why the last Open failed, for a one-line message ("PATH: no such device"); empty after a
    // successful one.
    const std::string& OpenProblem() const { return m_openProblem; }

    // The device went away since the port was opened.
    bool PortLost();
    // Opens the same port again when its device was lost; logs the reopen. Returns 1 when the
    // port was reopened, 0 when it was not lost or did not open.
    int ReopenIfLost();

    // Where devices come from; tests hand in scripted ones.
    void SetDeviceFactory(DeviceFactory factory);

    // The longest frame collected; a line full of noise must not grow it without end.
    static constexpr std::size_t kFrameMax = 1024;
    static constexpr int kReadChunk = 256;

private:
    bool ConfigurePort();
    CResult CheckLines();
    CResult SendData(const char* text);
    void EventThread();
    void OnCommEvent(unsigned mask);
    // Waits, with the reply lock held in lock, until the caller has left the device alone a while.
    void StandAside(std::unique_lock<std::mutex>& lock);
    void ReceiveData();
    // Cuts bytes into frames; true when a frame ended, with the payload of the last one.
    // Returns how many frames ended in bytes; payload is the last one's.
    int FrameBytes(const std::uint8_t* bytes, int count, std::string& payload);
    void LogReply(const std::string& payload);
    // Ends an exchange because the device is gone.
    CResult DeviceLost(const std::string& reason);
    // One read of the device by the exchanging caller. Returns the count, 0 when nothing came
    // (line-control bytes alone), or -1 when the device is gone, with the failure in lost.
    int ExchangeRead(int fd, std::uint8_t* bytes, int& emptyReads, CResult& lost);
    // Drops what is still on its way after a failure or a new connection, until the line has
    // been quiet for the settle time.
    CResult Settle(int fd);
    // After a reply taken while earlier answers are owed: reads up to wanted more frames while
    // they keep coming; returns how many came, payload the last one's.
    int LaterFrames(int fd, int wanted, std::string& payload);
    // After a time-out or a cancel: the reply may still come, to this program or the next.
    void MarkOutOfStep();
    void MarkLost(const std::string& reason);
    // The time-out of a port whose device went away, with the notice that says so.
    CResult LostNotice();
    void Status(const std::string& text) { AddLogRecord(text.c_str(), LOG_STATUS); }

    DeviceFactory m_deviceFactory;
    bool m_systemDevices = true; // the factory opens the system's device of the port's name
    std::string m_openProblem;
    std::unique_ptr<serial::ISerialDevice> m_device; // non-null while the port is open
    std::thread m_eventThread;
    std::vector<char> m_frame; // the frame accumulator
    bool m_discarding = false; // after an over-long frame: its rest, up to the next prefix
    bool m_portLost = false;   // the device went away; guarded by m_replyMutex
    std::string m_lostReason;  // why, in plain words ("device hung up"); the same guard
    // Since the port opened or an exchange timed out, a reply may still be on its way; the next
    // exchange drops it before sending. Guarded by m_replyMutex.
    bool m_outOfStep = false;
    // Requests of this port that went unanswered (timed out or cancelled): their answers may
    // still come, even after a quiet line (a stalled camera), ahead of the next request's. The
    // next exchange takes the frame after them. The same guard.
    int m_repliesOwed = 0;
    std::string m_lateReplyKey;                    // the port's name for the mark a time-out leaves
    waiting::Clock::time_point m_lateReplyUntil{}; // a mark found at open: settle until then
    std::chrono::milliseconds m_settleTime{0};     // how long the line must be quiet to be in step
    // The shortest time one byte takes on this line (zero where timing says nothing), and when
    // the last exchange left it empty; the reading side's, like m_frame.
    std::chrono::nanoseconds m_shortestByte{0};
    bool m_drained = false;
    waiting::Clock::time_point m_drainedAt{};
    // Who reads the device: the caller while an exchange runs, else the event thread. Both
    // flags and the exchange count are guarded by m_replyMutex; m_frame and m_discarding
    // belong to whichever of the two reads.
    bool m_exchangeActive = false;
    bool m_eventReading = false;
    std::uint64_t m_exchangeCount = 0;
    // Told when the event thread stops reading, for a caller that waits to begin an exchange.
    std::condition_variable m_readerChanged;
    // While the caller exchanges in a row the event thread stays out of the device's wait, so
    // that no reply wakes it; the caller then reads what came between its exchanges. Both flags
    // are guarded by m_replyMutex.
    bool m_standingAside = false;
    bool m_closing = false;
    std::condition_variable m_standAsideEnd;
    // Framing bytes as they were when the port opened: the settings block may be replaced
    // while the event thread runs.
    struct Framing {
        std::uint8_t prefix = 0;
        std::uint8_t suffix = 0;
        std::uint8_t suffix2 = 0;
    } m_framing;

    std::mutex m_threadMutex;
    std::condition_variable m_threadEnded;
    bool m_threadRunning = false;
};
