#include "platform/serial/SocketLink.h"

namespace serial {

std::string PrintableText(const std::string& bytes, std::size_t max)
{
    std::string text;
    for (const char c : bytes) {
        if (text.size() >= max)
            break;
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F)
            text += c;
        else if (!text.empty() && text.back() != ' ')
            text += ' ';
    }
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text;
}

std::string ServerClosedDetail(const std::string& said)
{
    const std::string text = PrintableText(said);
    return "the server closed the connection" + (text.empty() ? "" : ": " + text);
}

SocketLink::~SocketLink()
{
    Close();
}

bool SocketLink::IsLost() const
{
    std::lock_guard lock(m_lostMutex);
    return !m_lost.empty();
}

std::string SocketLink::LostReason() const
{
    std::lock_guard lock(m_lostMutex);
    return m_lost;
}

void SocketLink::MarkLost(const std::string& reason)
{
    std::lock_guard lock(m_lostMutex);
    if (m_lost.empty())
        m_lost = reason;
}

} // namespace serial
