#include "tests/camera/CamsimLink.h"

#include <cstring>

namespace testing_support {

CResult CamsimLink::SendReceive(const char* request, char* reply, std::size_t replySize)
{
    std::string frame(request);
    std::string body = frame;
    if (!body.empty() && body.front() == '\x02')
        body.erase(0, 1);
    if (!body.empty() && body.back() == '\x03')
        body.pop_back();
    m_sent.push_back(body);

    std::string answer;
    if (refuse.count(body)) {
        answer = "\x02\x15\x03";
    } else if (!ignore.count(body)) {
        auto replies = m_camera.Feed(frame);
        if (replies.empty())
            replies = m_camera.Idle();
        if (!replies.empty())
            answer = replies.front();
    }
    if (answer.empty())
        return LINK_TIMEOUT;
    if (answer.front() == '\x02')
        answer.erase(0, 1);
    if (!answer.empty() && answer.back() == '\x03')
        answer.pop_back();
    const std::size_t n = std::min(answer.size(), replySize - 1);
    std::memcpy(reply, answer.data(), n);
    reply[n] = '\0';
    return LINK_OK;
}

std::vector<std::string> CamsimLink::Writes() const
{
    std::vector<std::string> writes;
    for (const std::string& body : m_sent)
        if (body.size() < 2 || body.compare(body.size() - 2, 2, "RQ") != 0)
            writes.push_back(body);
    return writes;
}

} // namespace testing_support
