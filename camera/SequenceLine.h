// One sequence-log line in the making: the steps of a register-map operation are appended as
// its exchanges run, and the line is written once, when the operation ends.
#pragma once

#include "camera/RVXReg.h"
#include "platform/log/FormatAttribute.h"

#include <cstdint>
#include <string>
#include <string_view>

class CSequenceLine {
public:
    // The line's first text names the operation to a watch of the map's writes while it lives.
    CSequenceLine(CRVXReg& reg, std::string first);
    ~CSequenceLine() { m_reg.SetOperation(std::move(m_outer)); }
    CSequenceLine(const CSequenceLine&) = delete;
    CSequenceLine& operator=(const CSequenceLine&) = delete;

    // Appends the step's text (if any) and reads the register. On failure the line gets the
    // result text and is written; the result is returned and the operation must end.
    CResult Read(std::string_view step, int address, std::uint8_t& value);
    CResult Write(std::string_view step, int address, int value);
    // Ends the line with the result text of a failure and writes it.
    CResult Fail(const CResult& result);
    // Ends the line with the closing text and writes it; returns success.
    CResult Done(std::string_view closing);
    // Writes the line as it stands and returns the result.
    CResult Finish(const CResult& result);

    std::string& Text() { return m_line; }

private:
    CRVXReg& m_reg;
    std::string m_line;
    std::string m_outer; // the operation named before this one
};

// printf-style formatting into a std::string.
std::string FormatLine(const char* format, ...) VIREO_PRINTF_FORMAT(1, 2);
