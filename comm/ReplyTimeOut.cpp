#include "comm/ReplyTimeOut.h"

#include <cctype>

bool ParseReplyTimeOut(const std::string& text, int& value)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && std::isspace(static_cast<unsigned char>(text[begin])))
        ++begin;
    while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1])))
        --end;
    if (begin == end)
        return false;
    long long number = 0;
    for (std::size_t i = begin; i < end; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
        number = number * 10 + (text[i] - '0');
        // Stops before an overlong run of digits can overflow.
        if (number > kReplyTimeOutMax)
            return false;
    }
    if (number < kReplyTimeOutMin)
        return false;
    value = static_cast<int>(number);
    return true;
}

std::string ReplyTimeOutRangeText()
{
    return "The reply time-out must be a whole number of milliseconds from " +
           std::to_string(kReplyTimeOutMin) + " to " + std::to_string(kReplyTimeOutMax) + ".";
}
