// Base of the camera register maps: the four register exchanges every named camera setting is
// built from, their result codes, and the operations all camera models share.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>

#include "comm/Result.h"

class CComIF;
extern CComIF g_ComIF;

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

// Writing a bank's number here saves the live settings into that memory bank.
inline constexpr int kRegSaveBank = 0x51;

// One register write a map made, as a record of changes needs it.
struct RegisterWrite {
    int address = 0;
    std::optional<int> before; // the value last read from the register through the map
    std::optional<int> after;  // read back after the write
    // A text written into consecutive registers from address on (a serial number): the text
    // before and after, when they were read.
    std::optional<std::string> textBefore, textAfter;
    CResult result;        // of the write
    std::string operation; // the named operation that wrote it ("Set Shutter"), if any
};
using RegisterWriteWatch = std::function<void(const RegisterWrite&)>;

// Every operation returns a result (its code 0 on success). Outputs are written only on success,
// except where an operation says otherwise. Every named operation except GetModelType,
// GetRegister, SetRegister and GetErrorModeBits writes one sequence-log line.
class CRVXReg {
public:
    CRVXReg();
    explicit CRVXReg(CComIF* comIF);
    CRVXReg(const CRVXReg&) = delete;
    CRVXReg& operator=(const CRVXReg&) = delete;

    // The virtual operations keep this order in every register map.
    virtual CResult LoadBankMemory(int bank);  // 0..7
    virtual CResult ResetBankMemory(int bank); // 0..7, or 255
    virtual CResult SaveBankMemory(int bank);  // 0..7
    virtual ~CRVXReg();
    virtual int GetModelType();
    virtual CResult GetRegister(int address, std::uint8_t* value);
    virtual CResult SetRegister(int address, int value);
    virtual CResult RegisterUpdateExecute();
    virtual CResult GetVenderName(char* text); // room for kIdTextSize
    virtual CResult SetVenderName(const char* text);
    // On a failed read the text becomes kSerialNoUnknown.
    virtual CResult GetSerialNo(char* text); // room for kSerialNoSize
    // Writes the text's first seven characters, zeros after a shorter text's end.
    virtual CResult SetSerialNo(const char* text);
    virtual CResult GetModelName(char* text); // room for kIdTextSize
    virtual CResult SetModelName(const char* text);
    virtual CResult GetCpuVersion(char* text); // room for kIdTextSize
    virtual CResult SetCpuVersion(const char* text);
    virtual CResult GetErrorMode(std::uint8_t* value);
    virtual CResult GetErrorStatus(std::uint8_t* value);
    virtual CResult GetErrorStatus2(std::uint8_t* value);
    // Flag 0 is the most significant bit of the error mode. On failure only flag 0 becomes 0.
    virtual CResult GetErrorModeBits(std::int32_t* flags); // kErrorModeBits flags
    // On failure the value becomes 0.
    virtual CResult GetOffset(std::uint16_t* value);
    virtual CResult GetTriggerPolarity(std::uint8_t* on);
    virtual CResult SetTriggerPolarity(int on);
    virtual CResult GetShutterMode(std::uint8_t* on);
    virtual CResult SetShutterMode(int on);
    // Mode 0, 1 or 2. A failed read sets the mode to 0; an impossible pair leaves it alone.
    virtual CResult GetScanMode(std::uint8_t* mode);
    virtual CResult SetScanMode(int mode);
    virtual CResult GetMultipleShutter(std::uint8_t* on);
    virtual CResult SetMultipleShutter(int on);
    virtual CResult GetRandomMode(std::uint8_t* on);
    virtual CResult SetRandomMode(int on);

    CResult ReadRegister(int address, std::uint8_t& value);
    CResult WriteRegister(int address, int value);
    CResult ReadRegisterString(int address, char* text, unsigned maximum);
    CResult WriteRegisterString(int address, const char* text, unsigned maximum);
    // The text of a register or link code (a result knows its own: CResult::Text).
    void GetResultText(int code, char* text);
    std::string GetResultText(int code);

    // Calls watch after each register write, with the value read before (if the map read it)
    // and the value read back. Without a watch nothing more is read or kept. With readBefore,
    // a register (or text) the map has not read yet is read just before it is written; when
    // that read fails on the link, the write is not sent.
    void SetWriteWatch(RegisterWriteWatch watch, bool readBefore = false);
    // Drops the values read so far (another camera may answer now).
    void ForgetReads() { m_lastRead.clear(); }
    // Names the operation under way for the watch; returns the name it replaces.
    std::string SetOperation(std::string name)
    {
        m_operation.swap(name);
        return name;
    }

    // The port the map's exchanges go through.
    CComIF* Port() const { return m_pComIF; }

    // A map that only works values out of registers already known logs no sequence line.
    void SetSequenceLogged(bool logged) { m_sequenceLogged = logged; }
    // Hands one line to the log window's sequence log, if there is a log window.
    void WriteSequenceLog(const char* line);
    void WriteSequenceLog(const std::string& line) { WriteSequenceLog(line.c_str()); }
    static int TestBit(std::uint8_t byte, int bit) { return (byte >> bit) & 1; }

protected:
    CComIF* m_pComIF;

private:
    CResult SendWrite(int address, int value);
    CResult SendString(int address, const char* text, unsigned maximum);
    void WatchWrite(int address, const CResult& result, bool readBack,
                    std::optional<std::string> textBefore = {}, unsigned textMaximum = 0);

    // The value before a write, read now when the map has none; a link failure is returned.
    CResult ReadBeforeWrite(int address);

    RegisterWriteWatch m_writeWatch;
    bool m_readBefore = false;
    std::map<int, std::uint8_t> m_lastRead; // by address; only while watched
    std::string m_operation;
    bool m_sequenceLogged = true;

    CResult WriteBank(const char* labelFormat, int registerAddress, int bank, bool allowAll);
    CResult GetIdText(const char* label, int address, char* text);
    CResult SetIdText(const char* label, int address, const char* text);
    CResult GetStatusByte(const char* label, int address, std::uint8_t* value);
    CResult GetBit(const char* label, const char* done, int address, int bit, std::uint8_t* on);
    CResult SetBit(const char* label, const char* done, const char* invalid, int address, int bit,
                   int on);
};
