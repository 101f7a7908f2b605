#include "camera/SequenceLine.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

int CSequenceLine::Read(std::string_view step, int address, std::uint8_t& value)
{
    m_line += step;
    const int result = m_reg.ReadRegister(address, value);
    return result == 0 ? 0 : Fail(result);
}

int CSequenceLine::Write(std::string_view step, int address, int value)
{
    m_line += step;
    const int result = m_reg.WriteRegister(address, value);
    return result == 0 ? 0 : Fail(result);
}

int CSequenceLine::Fail(int code)
{
    m_line += m_reg.GetResultText(code);
    return Finish(code);
}

int CSequenceLine::Done(std::string_view closing)
{
    m_line += closing;
    return Finish(0);
}

int CSequenceLine::Finish(int code)
{
    m_reg.WriteSequenceLog(m_line);
    return code;
}

std::string FormatLine(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int n = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (n > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(n) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        text.assign(buffer.data(), static_cast<std::size_t>(n));
    }
    va_end(again);
    return text;
}
