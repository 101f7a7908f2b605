// The simulated frame grabber: one serial port per simulated camera. A write hands the bytes to
// the camera at once; its replies are queued with the time they reach the port (delay, wire time
// and split replies honoured), and reads wait on a condition variable until they are there.
#pragma once

#include "tools/clsim/Config.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace clsim {

class Port {
public:
    Port(int index, camsim::Model model, const Config& config);

    const std::string& Id() const { return m_id; }

    CLINT32 Open();
    void Close();
    bool IsOpen() const;
    CLINT32 SetRate(CLUINT32 code, CLUINT32 supported);
    CLINT32 Flush();
    CLINT32 Write(const char* data, std::size_t n);
    CLINT32 Available(CLUINT32& count);
    CLINT32 Read(char* data, CLUINT32& count, CLUINT32 timeoutMs);

    // Most reply bytes held for reading; more are lost, as in a full receive buffer.
    static constexpr std::size_t kIncomingMax = 4096;

private:
    using Clock = std::chrono::steady_clock;
    struct Incoming {
        char byte;
        Clock::time_point ready;
    };

    void Queue(const std::string& reply, std::size_t requestBytes);
    std::size_t ReadyCount(Clock::time_point now) const;

    std::string m_id;
    camsim::Camera m_camera;
    bool m_wireTime;
    mutable std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_open = false;
    int m_baud = 9600;
    std::deque<Incoming> m_incoming; // in order of arrival, ready times never decreasing
};

class Grabber {
public:
    explicit Grabber(Config config);

    // The one grabber of the process, built from CLSIM_CONFIG on first use.
    static Grabber& Instance();

    const Config& Settings() const { return m_config; }
    CLUINT32 PortCount() const { return static_cast<CLUINT32>(m_ports.size()); }
    Port* PortAt(CLUINT32 index);
    // The port a serial reference stands for, if it is one of ours and open.
    Port* FromReference(hSerRef reference);
    // The code a call answers by request, or CL_ERR_NO_ERR.
    CLINT32 Failure(const char* call) const;

private:
    Config m_config;
    std::vector<std::unique_ptr<Port>> m_ports;
};

} // namespace clsim
