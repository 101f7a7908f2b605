// The camera link over an RS-232C serial port: line settings from the settings block, an event
// thread that cuts incoming bytes into reply frames, and request/reply exchanges.
#pragma once

#include "comm/Com.h"
#include "platform/serial/SerialDevice.h"

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

class CRs232c : public CCom {
public:
    using DeviceFactory = std::function<std::unique_ptr<serial::ISerialDevice>()>;

    CRs232c();
    ~CRs232c() override;

    int Initialize() override;
    int Open() override;
    int Close() override;
    int IsOpen() override;
    int SendReceive(const char* request, char* reply, std::size_t replySize) override;

    // Why the last Open failed, for a one-line message ("PATH: no such device"); empty after a
    // successful one.
    const std::string& OpenProblem() const { return m_openProblem; }

    // Where devices come from; tests hand in scripted ones.
    void SetDeviceFactory(DeviceFactory factory);

    // Most reply frames kept waiting, and the longest frame collected; a line full of noise
    // must not grow either without end.
    static constexpr std::size_t kReplyQueueMax = 16;
    static constexpr std::size_t kFrameMax = 1024;
    static constexpr int kReadChunk = 256;

private:
    bool ConfigurePort();
    int CheckLines();
    int SendData(const char* text);
    void EventThread();
    void OnCommEvent(unsigned mask);
    void ReceiveData();
    void Status(const std::string& text) { AddLogRecord(text.c_str(), LOG_STATUS); }

    DeviceFactory m_deviceFactory;
    std::string m_openProblem;
    std::unique_ptr<serial::ISerialDevice> m_device; // non-null while the port is open
    std::thread m_eventThread;
    std::atomic<int> m_replyFlag{0};
    std::condition_variable m_replyArrived;
    std::vector<char> m_frame; // the frame accumulator; event thread only
    bool m_discarding = false; // after an over-long frame: its rest, up to the next prefix
    bool m_portLost = false;   // the device went away; guarded by m_replyMutex
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
