// Base of the camera register maps: the four register exchanges every named camera setting is
// built from, their result codes, and the operations all camera models share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CComIF;

// Result codes of the register exchanges (link codes 256 and up come from the port).
enum RegResult : int {
    REG_OK = 0,
    REG_NAK = 1,
    REG_INVALID_DATA = 2,
    REG_INVALID_REGISTER = 3,
    REG_INVALID_PARAMETER = 4,
};

// Room the exchanges give a reply: 15 characters and the terminator.
inline constexpr std::size_t kReplyBufferSize = 16;
// Room GetResultText needs.
inline constexpr std::size_t kResultTextSize = 40;

// Converts hexadecimal text (optional "0x", at most 8 digits) to a number. A leading "0x" is
// removed from text itself. Returns 1 on success, 0 on failure (value then unchanged).
int ParseHex(char* text, std::uint32_t& value);

class CRVXReg {
public:
    CRVXReg();
    explicit CRVXReg(CComIF* comIF);
    CRVXReg(const CRVXReg&) = delete;
    CRVXReg& operator=(const CRVXReg&) = delete;
    virtual ~CRVXReg();

    int ReadRegister(int address, std::uint8_t& value);
    int WriteRegister(int address, int value);
    int ReadRegisterString(int address, char* text, unsigned maximum);
    int WriteRegisterString(int address, const char* text, unsigned maximum);
    void GetResultText(int code, char* text);
    std::string GetResultText(int code);

protected:
    CComIF* m_pComIF;
};
