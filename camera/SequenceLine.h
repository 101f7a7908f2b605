// One sequence-log line in the making: the steps of a register-map operation are appended as
// its exchanges run, and the line is written once, when the operation ends.
#pragma once

#include "camera/RVXReg.h"

#include <cstdint>
#include <string>
#include <string_view>

class CSequenceLine {
public:
    CSequenceLine(CRVXReg& reg, std::string first) : m_reg(reg), m_line(std::move(first)) {}
    CSequenceLine(const CSequenceLine&) = delete;
    CSequenceLine& operator=(const CSequenceLine&) = delete;

    // Appends the step's text (if any) and reads the register. On failure the line gets the
    // result text and is written; the code is returned and the operation must end.
    int Read(std::string_view step, int address, std::uint8_t& value);
    int Write(std::string_view step, int address, int value);
    // Ends the line with the result text of a failure and writes it.
    int Fail(int code);
    // Ends the line with the closing text and writes it; returns 0.
    int Done(std::string_view closing);
    // Writes the line as it stands and returns the code.
    int Finish(int code);

    std::string& Text() { return m_line; }

private:
    CRVXReg& m_reg;
    std::string m_line;
};

// printf-style formatting into a std::string.
std::string FormatLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
