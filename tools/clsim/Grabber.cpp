#include "tools/clsim/Grabber.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace clsim {
namespace {

// Pause between the bytes of a reply that leaves in pieces.
constexpr auto kSplitGap = std::chrono::milliseconds(2);

int BaudOfCode(CLUINT32 code)
{
    switch (code) {
    case CL_BAUDRATE_9600:
        return 9600;
    case CL_BAUDRATE_19200:
        return 19200;
    case CL_BAUDRATE_38400:
        return 38400;
    case CL_BAUDRATE_57600:
        return 57600;
    case CL_BAUDRATE_115200:
        return 115200;
    case CL_BAUDRATE_230400:
        return 230400;
    case CL_BAUDRATE_460800:
        return 460800;
    case CL_BAUDRATE_921600:
        return 921600;
    default:
        return 0;
    }
}

} // namespace

Port::Port(int index, camsim::Model model, const Config& config)
    : m_id("clsim" + std::to_string(index) + " " + camsim::ModelName(model)), m_camera(model),
      m_wireTime(config.wireTime)
{
    m_camera.SetFaults(config.faults);
}

CLINT32 Port::Open()
{
    std::lock_guard lock(m_mutex);
    if (m_open)
        return CL_ERR_PORT_IN_USE;
    m_open = true;
    m_baud = 9600;
    m_incoming.clear();
    return CL_ERR_NO_ERR;
}

void Port::Close()
{
    {
        std::lock_guard lock(m_mutex);
        m_open = false;
        m_incoming.clear();
    }
    m_changed.notify_all();
}

bool Port::IsOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_open;
}

CLINT32 Port::SetRate(CLUINT32 code, CLUINT32 supported)
{
    const int baud = BaudOfCode(code);
    if (baud == 0 || (code & supported) == 0)
        return CL_ERR_BAUD_RATE_NOT_SUPPORTED;
    std::lock_guard lock(m_mutex);
    m_baud = baud;
    return CL_ERR_NO_ERR;
}

std::size_t Port::ReadyCount(Clock::time_point now) const
{
    std::size_t count = 0;
    for (const Incoming& incoming : m_incoming) {
        if (incoming.ready > now)
            break;
        ++count;
    }
    return count;
}

CLINT32 Port::Flush()
{
    std::lock_guard lock(m_mutex);
    // Only what has arrived is discarded; a reply still on its way arrives afterwards.
    const std::size_t ready = ReadyCount(Clock::now());
    m_incoming.erase(m_incoming.begin(), m_incoming.begin() + static_cast<long>(ready));
    return CL_ERR_NO_ERR;
}

void Port::Queue(const std::string& reply, std::size_t requestBytes)
{
    const camsim::Faults faults = m_camera.GetFaults();
    Clock::time_point at = Clock::now();
    if (!m_incoming.empty())
        at = std::max(at, m_incoming.back().ready);
    at += std::chrono::milliseconds(faults.delayMs);
    if (m_wireTime)
        at += camsim::WireTime(m_baud, requestBytes, reply.size());
    for (const char byte : reply) {
        if (m_incoming.size() >= kIncomingMax)
            return;
        m_incoming.push_back({byte, at});
        if (faults.split)
            at += kSplitGap;
    }
}

CLINT32 Port::Write(const char* data, std::size_t n)
{
    std::vector<std::string> replies =
        m_camera.Feed(reinterpret_cast<const std::uint8_t*>(data), n);
    // The line goes quiet after each write: a request without ETX is complete now.
    if (m_camera.HasPendingRequest())
        for (std::string& reply : m_camera.Idle())
            replies.push_back(std::move(reply));
    {
        std::lock_guard lock(m_mutex);
        if (!m_open)
            return CL_ERR_INVALID_REFERENCE;
        for (const std::string& reply : replies)
            Queue(reply, n);
    }
    m_changed.notify_all();
    return CL_ERR_NO_ERR;
}

CLINT32 Port::Available(CLUINT32& count)
{
    std::lock_guard lock(m_mutex);
    if (!m_open)
        return CL_ERR_INVALID_REFERENCE;
    count = static_cast<CLUINT32>(ReadyCount(Clock::now()));
    return CL_ERR_NO_ERR;
}

CLINT32 Port::Read(char* data, CLUINT32& count, CLUINT32 timeoutMs)
{
    const std::size_t wanted = count;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (!m_open) {
            count = 0;
            return CL_ERR_INVALID_REFERENCE;
        }
        const Clock::time_point now = Clock::now();
        if (ReadyCount(now) >= wanted) {
            for (std::size_t i = 0; i < wanted; ++i) {
                data[i] = m_incoming.front().byte;
                m_incoming.pop_front();
            }
            return CL_ERR_NO_ERR;
        }
        if (now >= deadline) {
            count = 0;
            return CL_ERR_TIMEOUT;
        }
        // Wake for a write, a close, the next byte's arrival or the deadline.
        Clock::time_point wake = deadline;
        const std::size_t ready = ReadyCount(now);
        if (ready < m_incoming.size())
            wake = std::min(wake, m_incoming[ready].ready);
        m_changed.wait_until(lock, wake);
    }
}

Grabber::Grabber(Config config) : m_config(std::move(config))
{
    for (std::size_t i = 0; i < m_config.models.size(); ++i)
        m_ports.push_back(
            std::make_unique<Port>(static_cast<int>(i), m_config.models[i], m_config));
}

Grabber& Grabber::Instance()
{
    static Grabber grabber = [] {
        const char* text = std::getenv(kConfigVariable);
        std::vector<std::string> problems;
        Config config = ParseConfig(text ? text : "", problems);
        for (const std::string& problem : problems)
            std::fprintf(stderr, "clsim: %s: ignoring \"%s\"\n", kConfigVariable, problem.c_str());
        return Grabber(std::move(config));
    }();
    return grabber;
}

Port* Grabber::PortAt(CLUINT32 index)
{
    return index < m_ports.size() ? m_ports[index].get() : nullptr;
}

Port* Grabber::FromReference(hSerRef reference)
{
    for (const auto& port : m_ports)
        if (port.get() == reference)
            return port->IsOpen() ? port.get() : nullptr;
    return nullptr;
}

CLINT32 Grabber::Failure(const char* call) const
{
    const auto found = m_config.failures.find(call);
    return found == m_config.failures.end() ? CL_ERR_NO_ERR : found->second;
}

} // namespace clsim
