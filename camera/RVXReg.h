// Base of the camera register maps: the four register exchanges every named camera setting is
// built from, their result codes, and the operations all camera models share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CComIF;
extern CComIF g_ComIF;

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
// Highest register address the camera has.
inline constexpr int kLastRegisterAddress = 0x300;
// Longest identification text (vendor, model, CPU version) and the room its buffer needs.
inline constexpr unsigned kIdTextMax = 16;
inline constexpr std::size_t kIdTextSize = kIdTextMax + 1;
// Characters of the serial number and the room its buffer needs.
inline constexpr unsigned kSerialNoLength = 7;
inline constexpr std::size_t kSerialNoSize = kSerialNoLength + 1;
// What the caller's serial number becomes when it cannot be read.
inline constexpr const char* kSerialNoUnknown = "-------";
// Number of flags GetErrorModeBits gives.
inline constexpr int kErrorModeBits = 8;

// Converts hexadecimal text (optional "0x", at most 8 digits) to a number. A leading "0x" is
// removed from text itself. Returns 1 on success, 0 on failure (value then unchanged).
int ParseHex(char* text, std::uint32_t& value);

// A signed offset in the register form of a 10-bit two's-complement field.
std::uint16_t ToSigned10(std::int16_t value);
// A 10-bit two's-complement field widened to 16 bits (bits 9..15 copy the sign).
std::uint16_t FromSigned10(std::uint16_t value);

// Model kinds GetModelType gives.
enum RegModelType : int {
    MODEL_RV1240DLX = 0,
    MODEL_RV1250LX = 1,
    MODEL_RVQM52 = 2,
    MODEL_NONE = -1, // the bare base: register access only
};

// Every operation returns a result code (0 success). Outputs are written only on success,
// except where an operation says otherwise. Every named operation except GetModelType,
// GetRegister, SetRegister and GetErrorModeBits writes one sequence-log line.
class CRVXReg {
public:
    CRVXReg();
    explicit CRVXReg(CComIF* comIF);
    CRVXReg(const CRVXReg&) = delete;
    CRVXReg& operator=(const CRVXReg&) = delete;

    // The virtual operations keep this order in every register map.
    virtual int LoadBankMemory(int bank);  // 0..7
    virtual int ResetBankMemory(int bank); // 0..7, or 255
    virtual int SaveBankMemory(int bank);  // 0..7
    virtual ~CRVXReg();
    virtual int GetModelType();
    virtual int GetRegister(int address, std::uint8_t* value);
    virtual int SetRegister(int address, int value);
    virtual int RegisterUpdateExecute();
    virtual int GetVenderName(char* text); // room for kIdTextSize
    virtual int SetVenderName(const char* text);
    // On a failed read the text becomes kSerialNoUnknown.
    virtual int GetSerialNo(char* text); // room for kSerialNoSize
    // Writes the text's first seven characters, zeros after a shorter text's end.
    virtual int SetSerialNo(const char* text);
    virtual int GetModelName(char* text); // room for kIdTextSize
    virtual int SetModelName(const char* text);
    virtual int GetCpuVersion(char* text); // room for kIdTextSize
    virtual int SetCpuVersion(const char* text);
    virtual int GetErrorMode(std::uint8_t* value);
    virtual int GetErrorStatus(std::uint8_t* value);
    virtual int GetErrorStatus2(std::uint8_t* value);
    // Flag 0 is the most significant bit of the error mode. On failure only flag 0 becomes 0.
    virtual int GetErrorModeBits(std::int32_t* flags); // kErrorModeBits flags
    // On failure the value becomes 0.
    virtual int GetOffset(std::uint16_t* value);
    virtual int GetTriggerPolarity(std::uint8_t* on);
    virtual int SetTriggerPolarity(int on);
    virtual int GetShutterMode(std::uint8_t* on);
    virtual int SetShutterMode(int on);
    // Mode 0, 1 or 2. A failed read sets the mode to 0; an impossible pair leaves it alone.
    virtual int GetScanMode(std::uint8_t* mode);
    virtual int SetScanMode(int mode);
    virtual int GetMultipleShutter(std::uint8_t* on);
    virtual int SetMultipleShutter(int on);
    virtual int GetRandomMode(std::uint8_t* on);
    virtual int SetRandomMode(int on);

    int ReadRegister(int address, std::uint8_t& value);
    int WriteRegister(int address, int value);
    int ReadRegisterString(int address, char* text, unsigned maximum);
    int WriteRegisterString(int address, const char* text, unsigned maximum);
    void GetResultText(int code, char* text);
    std::string GetResultText(int code);

    // Hands one line to the log window's sequence log, if there is a log window.
    void WriteSequenceLog(const char* line);
    void WriteSequenceLog(const std::string& line) { WriteSequenceLog(line.c_str()); }
    static int TestBit(std::uint8_t byte, int bit) { return (byte >> bit) & 1; }

protected:
    CComIF* m_pComIF;

private:
    int WriteBank(const char* labelFormat, int registerAddress, int bank, bool allowAll);
    int GetIdText(const char* label, int address, char* text);
    int SetIdText(const char* label, int address, const char* text);
    int GetStatusByte(const char* label, int address, std::uint8_t* value);
    int GetBit(const char* label, const char* done, int address, int bit, std::uint8_t* on);
    int SetBit(const char* label, const char* done, const char* invalid, int address, int bit,
               int on);
};
