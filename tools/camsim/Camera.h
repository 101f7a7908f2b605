// One simulated camera: a register file 0x000..0x300 answering the register protocol, with a
// model personality and faults on request. Thread-safe; shared by the pseudo-terminal server,
// the simulated frame grabber and the tests.
#pragma once

#include "tools/camsim/Personality.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <random>
#include <string>
#include <vector>

namespace camsim {

inline constexpr int kLastRegister = 0x300;
using RegisterFile = std::array<std::uint8_t, kLastRegister + 1>;

enum class Fault {
    None,
    Nak,     // every request answered with NAK
    Silent,  // no reply at all
    Garbage, // noise instead of a reply
};

struct Faults {
    Fault fault = Fault::None;
    bool split = false;    // replies leave in several pieces
    int delayMs = 0;       // extra wait before each reply
    int wireBaud = 0;      // >0: replies wait the wire time of request and reply, 10 bits a byte
    int refusedWrite = -1; // >=0: writes to this register are answered with NAK
};

class Camera {
public:
    explicit Camera(Model model = Model::RV1240DLX);

    Model GetModel() const;
    void SetFaults(const Faults& faults);
    Faults GetFaults() const;

    // Feeds bytes from the line; returns the replies of every request they complete, in order.
    std::vector<std::string> Feed(const std::uint8_t* data, std::size_t n);
    std::vector<std::string> Feed(const std::string& bytes)
    {
        return Feed(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    // The line went quiet: a request that ended without ETX (the address of a character write
    // of the zero byte) is taken as complete. Returns its reply, or nothing.
    std::vector<std::string> Idle();
    bool HasPendingRequest() const;

    std::uint8_t Get(int address) const;
    void Set(int address, std::uint8_t value);
    RegisterFile Registers() const;
    // The latest requests answered (at most kRequestHistory), oldest first, without STX and ETX.
    std::vector<std::string> Requests() const;
    void ClearRequests();

    // The garbage that Fault::Garbage sends, for tests that need to know its shape.
    std::string Garbage();

    static constexpr std::size_t kRequestMax = 32;
    // Requests kept for Requests(); older ones are forgotten.
    static constexpr std::size_t kRequestHistory = 256;

private:
    std::string Answer(const std::string& body);
    std::string Frame(char payload) const;

    mutable std::mutex m_mutex;
    Model m_model;
    Faults m_faults;
    CameraState m_state;
    std::string m_pending; // bytes after STX of the request being received
    bool m_inFrame = false;
    std::deque<std::string> m_requests; // the latest kRequestHistory
    std::minstd_rand m_random{12345};
};

// How long a request of m bytes and its reply of n bytes take on the wire at baud, 10 bits a
// byte, to the nearest microsecond; zero for no baud.
std::chrono::microseconds WireTime(int baud, std::size_t requestBytes, std::size_t replyBytes);

} // namespace camsim
