#include "tools/camsim/Camera.h"

#include <cctype>
#include <cstdio>

namespace camsim {
namespace {

constexpr char STX = 0x02;
constexpr char ETX = 0x03;
constexpr char ACK = 0x06;
constexpr char NAK = 0x15;

bool AllHex(const std::string& text, std::size_t from, std::size_t count)
{
    if (from + count > text.size())
        return false;
    for (std::size_t i = from; i < from + count; ++i)
        if (!std::isxdigit(static_cast<unsigned char>(text[i])))
            return false;
    return true;
}

int HexValue(const std::string& text, std::size_t from, std::size_t count)
{
    return static_cast<int>(std::stoul(text.substr(from, count), nullptr, 16));
}

} // namespace

std::chrono::microseconds WireTime(int baud, std::size_t requestBytes, std::size_t replyBytes)
{
    if (baud <= 0)
        return std::chrono::microseconds(0);
    const long long bits = 10LL * static_cast<long long>(requestBytes + replyBytes);
    return std::chrono::microseconds((bits * 1000000 + baud / 2) / baud);
}

Camera::Camera(Model model) : m_model(model)
{
    PowerOn(model, m_state);
}

Model Camera::GetModel() const
{
    return m_model;
}

void Camera::SetFaults(const Faults& faults)
{
    std::lock_guard lock(m_mutex);
    m_faults = faults;
}

Faults Camera::GetFaults() const
{
    std::lock_guard lock(m_mutex);
    return m_faults;
}

std::vector<std::string> Camera::Feed(const std::uint8_t* data, std::size_t n)
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> replies;
    for (std::size_t i = 0; i < n; ++i) {
        const char byte = static_cast<char>(data[i]);
        if (byte == STX) {
            m_inFrame = true;
            m_pending.clear();
        } else if (!m_inFrame) {
            // noise between frames is ignored
        } else if (byte == ETX) {
            m_inFrame = false;
            std::string reply = Answer(m_pending);
            m_pending.clear();
            if (!reply.empty())
                replies.push_back(std::move(reply));
        } else if (m_pending.size() < kRequestMax) {
            m_pending += byte;
        } else {
            // an over-long frame: keep it marked as malformed without growing
            m_pending.assign(kRequestMax + 1, '?');
        }
    }
    return replies;
}

bool Camera::HasPendingRequest() const
{
    std::lock_guard lock(m_mutex);
    return m_inFrame && !m_pending.empty();
}

std::vector<std::string> Camera::Idle()
{
    std::lock_guard lock(m_mutex);
    std::vector<std::string> replies;
    if (!m_inFrame || m_pending.empty())
        return replies;
    m_inFrame = false;
    const std::string body = std::move(m_pending);
    m_pending.clear();
    // Only the address of a character write whose character was the zero byte ends this way.
    if ((body.size() == 2 || body.size() == 3) && AllHex(body, 0, body.size())) {
        std::string reply = Answer(body + std::string(1, '\0'));
        if (!reply.empty())
            replies.push_back(std::move(reply));
    }
    return replies;
}

std::string Camera::Frame(char payload) const
{
    return std::string{STX, payload, ETX};
}

std::string Camera::Garbage()
{
    std::string noise;
    for (int i = 0; i < 8; ++i) {
        char byte;
        do {
            byte = static_cast<char>(m_random() & 0xFF);
        } while (byte == STX || byte == ETX || byte == '\0');
        noise += byte;
    }
    // and a frame whose payload is no hexadecimal number
    noise += std::string{STX, 'G', '?', ETX};
    return noise;
}

std::string Camera::Answer(const std::string& body)
{
    m_requests.push_back(body);
    if (m_requests.size() > kRequestHistory)
        m_requests.pop_front();
    switch (m_faults.fault) {
    case Fault::Silent:
        return {};
    case Fault::Nak:
        return Frame(NAK);
    case Fault::Garbage:
        return Garbage();
    case Fault::None:
        break;
    }

    const std::size_t n = body.size();
    int address = -1;
    enum { Read, Write, CharWrite } kind;
    int value = 0;
    if (n >= 4 && n <= 5 && body.compare(n - 2, 2, "RQ") == 0 && AllHex(body, 0, n - 2)) {
        kind = Read;
        address = HexValue(body, 0, n - 2);
    } else if ((n == 4 || n == 5) && AllHex(body, 0, n)) {
        kind = Write;
        address = HexValue(body, 0, n - 2);
        value = HexValue(body, n - 2, 2);
    } else if ((n == 3 || n == 4) && AllHex(body, 0, n - 1)) {
        kind = CharWrite;
        address = HexValue(body, 0, n - 1);
        value = static_cast<unsigned char>(body[n - 1]);
    } else {
        return Frame(NAK);
    }
    if (address < 0 || address > kLastRegister)
        return Frame(NAK);

    if (kind == Read) {
        char text[8];
        std::snprintf(text, sizeof text, "%c%02X%c", STX, m_state.regs[address], ETX);
        return text;
    }
    if (address == m_faults.refusedWrite)
        return Frame(NAK);
    m_state.regs[address] = static_cast<std::uint8_t>(value);
    if (kind == Write)
        AfterWrite(m_model, address, static_cast<std::uint8_t>(value), m_state);
    return Frame(ACK);
}

std::uint8_t Camera::Get(int address) const
{
    std::lock_guard lock(m_mutex);
    return m_state.regs.at(static_cast<std::size_t>(address));
}

void Camera::Set(int address, std::uint8_t value)
{
    std::lock_guard lock(m_mutex);
    m_state.regs.at(static_cast<std::size_t>(address)) = value;
}

RegisterFile Camera::Registers() const
{
    std::lock_guard lock(m_mutex);
    return m_state.regs;
}

std::vector<std::string> Camera::Requests() const
{
    std::lock_guard lock(m_mutex);
    return {m_requests.begin(), m_requests.end()};
}

void Camera::ClearRequests()
{
    std::lock_guard lock(m_mutex);
    m_requests.clear();
}

} // namespace camsim
