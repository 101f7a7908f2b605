#include "camera/SequenceLine.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

CSequenceLine::CSequenceLine(CRVXReg& reg, std::string first) : m_reg(reg), m_line(std::move(first))
{
    const std::size_t start = m_line.find_first_not_of('\t');
    const std::size_t end = m_line.find_last_not_of(' ');
    m_outer = m_reg.SetOperation(start == std::string::npos || end < start
                                     ? std::string()
                                     : m_line.substr(start, end - start + 1));
}

CResult CSequenceLine::Read(std::string_view step, int address, std::uint8_t& value)
{
    m_line += step;
    const CResult result = m_reg.ReadRegister(address, value);
    return result ? Fail(result) : result;
}

CResult CSequenceLine::Write(std::string_view step, int address, int value)
{
    m_line += step;
    const CResult result = m_reg.WriteRegister(address, value);
    return result ? Fail(result) : result;
}

CResult CSequenceLine::Fail(const CResult& result)
{
    m_line += result.Text();
    return Finish(result);
}

CResult CSequenceLine::Done(std::string_view closing)
{
    m_line += closing;
    return Finish(REG_OK);
}

CResult CSequenceLine::Finish(const CResult& result)
{
    m_reg.WriteSequenceLog(m_line);
    return result;
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
