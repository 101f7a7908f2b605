// The operations every camera model shares: memory banks, raw register access, identification
// texts, error registers, and the scan, shutter, trigger and random modes.
#include "camera/RVXReg.h"

#include "camera/SequenceLine.h"
#include "platform/log/LogWriter.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int kRegLoadBank = 0x52;
constexpr int kRegResetBank = 0x53;
constexpr int kRegRegisterUpdate = 0x6E;
constexpr int kRegVenderName = 0x00;
constexpr int kRegModelName = 0x10;
constexpr int kRegSerialNo = 0x20;
constexpr int kRegCpuVersion = 0x30;
constexpr int kRegErrorMode = 0x40;
constexpr int kRegErrorStatus = 0x41;
constexpr int kRegErrorStatus2 = 0x95;
constexpr int kRegOffsetLow = 0x62;
constexpr int kRegOffsetHigh = 0x63;
constexpr int kRegMultipleShutter = 0x66;
constexpr int kRegTrigger = 0x6A;
constexpr int kRegRandomMode = 0x6B;
constexpr int kRegSubSampling = 0x70;
constexpr int kRegWindowEnable = 0x81;

constexpr int kBitShutterMode = 0;
constexpr int kBitTriggerPolarity = 1;

constexpr int kLastBank = 7;
constexpr int kAllBanks = 255;

constexpr const char* kDone = "Done.";
constexpr const char* kInvalidArgument = "Set parameter invalid. ";

bool IsValidAddress(int address)
{
    return address >= 0 && address <= kLastRegisterAddress;
}

std::uint8_t ChangeBit(std::uint8_t byte, int bit, bool on)
{
    const auto mask = static_cast<std::uint8_t>(1u << bit);
    return on ? static_cast<std::uint8_t>(byte | mask) : static_cast<std::uint8_t>(byte & ~mask);
}

} // namespace

std::uint16_t ToSigned10(std::int16_t value)
{
    const auto bits = static_cast<std::uint16_t>(value);
    if (bits & 0x8000)
        return static_cast<std::uint16_t>((bits & 0x1FF) | 0x200);
    return bits;
}

std::uint16_t FromSigned10(std::uint16_t value)
{
    if (value & 0x200)
        return static_cast<std::uint16_t>(value | 0xFE00);
    return value;
}

void CRVXReg::WriteSequenceLog(const char* line)
{
    ILogWriter* writer = g_pLogDlg.load();
    if (!writer || !m_sequenceLogged)
        return;
    try {
        writer->AddSeqLog(line);
    } catch (...) {
        // The log is a witness, never a reason for an operation to fail.
    }
}

CResult CRVXReg::WriteBank(const char* labelFormat, int registerAddress, int bank, bool allowAll)
{
    const auto number = static_cast<std::uint8_t>(bank);
    CSequenceLine line(*this, FormatLine(labelFormat, number));
    if (number > kLastBank && !(allowAll && number == kAllBanks)) {
        line.Text() += " ";
        line.Text() += RegisterResultText(REG_INVALID_PARAMETER);
        return line.Finish(REG_INVALID_PARAMETER);
    }
    if (const CResult result = line.Write({}, registerAddress, number))
        return result;
    return line.Done(kDone);
}

CResult CRVXReg::LoadBankMemory(int bank)
{
    return WriteBank("\tLoad Bank Memory (0x%x)", kRegLoadBank, bank, false);
}

CResult CRVXReg::ResetBankMemory(int bank)
{
    return WriteBank("\tReset Bank Memory (0x%x)", kRegResetBank, bank, true);
}

CResult CRVXReg::SaveBankMemory(int bank)
{
    return WriteBank("\tSave Bank Memory (0x%x)", kRegSaveBank, bank, false);
}

int CRVXReg::GetModelType()
{
    return MODEL_NONE;
}

CResult CRVXReg::GetRegister(int address, std::uint8_t* value)
{
    if (!IsValidAddress(address))
        return REG_INVALID_REGISTER;
    std::uint8_t byte = 0;
    const CResult result = ReadRegister(address, byte);
    if (result == 0)
        *value = byte;
    return result;
}

CResult CRVXReg::SetRegister(int address, int value)
{
    if (!IsValidAddress(address))
        return REG_INVALID_REGISTER;
    return WriteRegister(address, value);
}

CResult CRVXReg::RegisterUpdateExecute()
{
    CSequenceLine line(*this, "\tRegister Update Execute ");
    if (const CResult result = line.Write({}, kRegRegisterUpdate, 1))
        return result;
    return line.Done("Done");
}

CResult CRVXReg::GetIdText(const char* label, int address, char* text)
{
    char buffer[kIdTextSize] = {};
    if (const CResult result = ReadRegisterString(address, buffer, kIdTextMax)) {
        CSequenceLine line(*this, label);
        return line.Fail(result);
    }
    std::memcpy(text, buffer, sizeof buffer);
    WriteSequenceLog(FormatLine("%s %s Done.", label, buffer));
    return REG_OK;
}

CResult CRVXReg::SetIdText(const char* label, int address, const char* text)
{
    if (!text)
        text = "";
    if (const CResult result = WriteRegisterString(address, text, kIdTextMax)) {
        CSequenceLine line(*this, label);
        return line.Fail(result);
    }
    WriteSequenceLog(FormatLine("%s %s Done.", label, text));
    return REG_OK;
}

CResult CRVXReg::GetVenderName(char* text)
{
    return GetIdText("\tGet Vender name ", kRegVenderName, text);
}

CResult CRVXReg::SetVenderName(const char* text)
{
    return SetIdText("\tSet Vender name ", kRegVenderName, text);
}

CResult CRVXReg::GetModelName(char* text)
{
    return GetIdText("\tGet Model name ", kRegModelName, text);
}

CResult CRVXReg::SetModelName(const char* text)
{
    return SetIdText("\tSet Model name ", kRegModelName, text);
}

CResult CRVXReg::GetCpuVersion(char* text)
{
    return GetIdText("\tGet CPU Version ", kRegCpuVersion, text);
}

CResult CRVXReg::SetCpuVersion(const char* text)
{
    return SetIdText("\tSet CPU Version ", kRegCpuVersion, text);
}

CResult CRVXReg::GetSerialNo(char* text)
{
    static constexpr const char* kLabel = "\tGet Serial No ";
    char buffer[kSerialNoSize] = {};
    for (unsigned i = 0; i < kSerialNoLength; ++i) {
        std::uint8_t value = 0;
        if (const CResult result = ReadRegister(kRegSerialNo + static_cast<int>(i), value)) {
            std::snprintf(text, kSerialNoSize, "%s", kSerialNoUnknown);
            CSequenceLine line(*this, kLabel);
            return line.Fail(result);
        }
        if (value == 0)
            break;
        buffer[i] = static_cast<char>(value);
    }
    std::memcpy(text, buffer, sizeof buffer);
    WriteSequenceLog(FormatLine("%s %s Done.", kLabel, buffer));
    return REG_OK;
}

CResult CRVXReg::SetSerialNo(const char* text)
{
    if (!text)
        text = "";
    CSequenceLine line(*this, FormatLine("%s %s ", "\tSet Serial No. ", text));
    // A shorter text is followed by zeros: nothing beyond its end is read.
    const std::size_t length = std::strlen(text);
    for (unsigned i = 0; i < kSerialNoLength; ++i) {
        const auto character = i < length ? static_cast<std::uint8_t>(text[i]) : std::uint8_t{0};
        if (const CResult result = line.Write({}, kRegSerialNo + static_cast<int>(i), character))
            return result;
    }
    return line.Done("Done");
}

CResult CRVXReg::GetStatusByte(const char* label, int address, std::uint8_t* value)
{
    std::uint8_t byte = 0;
    if (const CResult result = ReadRegister(address, byte)) {
        CSequenceLine line(*this, label);
        return line.Fail(result);
    }
    *value = byte;
    WriteSequenceLog(FormatLine("%s %02X ", label, byte) + kDone);
    return REG_OK;
}

CResult CRVXReg::GetErrorMode(std::uint8_t* value)
{
    return GetStatusByte("\tGet Error Mode ", kRegErrorMode, value);
}

CResult CRVXReg::GetErrorStatus(std::uint8_t* value)
{
    return GetStatusByte("\tGet Error Status ", kRegErrorStatus, value);
}

CResult CRVXReg::GetErrorStatus2(std::uint8_t* value)
{
    return GetStatusByte("\tGet Error Status ", kRegErrorStatus2, value);
}

CResult CRVXReg::GetErrorModeBits(std::int32_t* flags)
{
    std::uint8_t value = 0;
    if (const CResult result = GetErrorMode(&value)) {
        flags[0] = 0;
        return result;
    }
    for (int i = 0; i < kErrorModeBits; ++i)
        flags[i] = TestBit(value, 7 - i);
    return REG_OK;
}

CResult CRVXReg::GetOffset(std::uint16_t* value)
{
    CSequenceLine line(*this, "\tGet Offset ");
    std::uint8_t low = 0;
    std::uint8_t high = 0;
    CResult result = line.Read({}, kRegOffsetLow, low);
    if (result == 0)
        result = line.Read({}, kRegOffsetHigh, high);
    if (result) {
        *value = 0;
        return result;
    }
    *value = static_cast<std::uint16_t>(high * 256 + low);
    return line.Done(kDone);
}

CResult CRVXReg::GetBit(const char* label, const char* done, int address, int bit, std::uint8_t* on)
{
    CSequenceLine line(*this, label);
    std::uint8_t byte = 0;
    if (const CResult result = line.Read({}, address, byte))
        return result;
    *on = static_cast<std::uint8_t>(TestBit(byte, bit));
    return line.Done(done);
}

CResult CRVXReg::SetBit(const char* label, const char* done, const char* invalid, int address,
                        int bit, int on)
{
    CSequenceLine line(*this, label);
    std::uint8_t byte = 0;
    if (const CResult result = line.Read({}, address, byte))
        return result;
    const auto choice = static_cast<std::uint8_t>(on);
    if (choice > 1) {
        line.Text() += invalid;
        return line.Finish(REG_INVALID_DATA);
    }
    if (const CResult result = line.Write({}, address, ChangeBit(byte, bit, choice == 1)))
        return result;
    return line.Done(done);
}

CResult CRVXReg::GetTriggerPolarity(std::uint8_t* on)
{
    return GetBit("\tGet Trigger Polarity ", kDone, kRegTrigger, kBitTriggerPolarity, on);
}

CResult CRVXReg::SetTriggerPolarity(int on)
{
    return SetBit("\tSet Trigger Polarity, ", "Done. ", kInvalidArgument, kRegTrigger,
                  kBitTriggerPolarity, on);
}

CResult CRVXReg::GetShutterMode(std::uint8_t* on)
{
    return GetBit("\tGet Shutter Mode ", "Done. ", kRegTrigger, kBitShutterMode, on);
}

CResult CRVXReg::SetShutterMode(int on)
{
    return SetBit("\tSet Shutter Mode, ", "  Done. ", kInvalidArgument, kRegTrigger,
                  kBitShutterMode, on);
}

CResult CRVXReg::GetMultipleShutter(std::uint8_t* on)
{
    return GetBit("\tGet Multiple Shutter ", "Done. ", kRegMultipleShutter, 0, on);
}

CResult CRVXReg::SetMultipleShutter(int on)
{
    return SetBit("\tSet Multiple Shutter ", " Done. ", kInvalidArgument, kRegMultipleShutter, 0,
                  on);
}

CResult CRVXReg::GetRandomMode(std::uint8_t* on)
{
    return GetBit("\tGet Random Mode ", "Done. ", kRegRandomMode, 0, on);
}

CResult CRVXReg::SetRandomMode(int on)
{
    return SetBit("\tSet RandomMode, ", " Done. ", "Set parameter invalid.", kRegRandomMode, 0, on);
}

CResult CRVXReg::GetScanMode(std::uint8_t* mode)
{
    CSequenceLine line(*this, "\tGet Scan Mode ");
    std::uint8_t subSampling = 0;
    std::uint8_t window = 0;
    CResult result = line.Read({}, kRegSubSampling, subSampling);
    if (result == 0)
        result = line.Read({}, kRegWindowEnable, window);
    if (result) {
        *mode = 0;
        return result;
    }
    const int a = TestBit(subSampling, 0);
    const int b = TestBit(window, 0);
    if (a && b)
        return line.Fail(REG_INVALID_DATA);
    *mode = a ? 2 : (b ? 1 : 0);
    return line.Done(kDone);
}

CResult CRVXReg::SetScanMode(int mode)
{
    CSequenceLine line(*this, "\tSet Scan Mode ");
    std::uint8_t subSampling = 0;
    std::uint8_t window = 0;
    if (const CResult result = line.Read({}, kRegSubSampling, subSampling))
        return result;
    if (const CResult result = line.Read({}, kRegWindowEnable, window))
        return result;
    switch (static_cast<std::uint8_t>(mode)) {
    case 0:
        subSampling = ChangeBit(subSampling, 0, false);
        window = ChangeBit(window, 0, false);
        break;
    case 1:
        subSampling = ChangeBit(subSampling, 0, false);
        window = ChangeBit(window, 0, true);
        break;
    case 2:
        subSampling = ChangeBit(subSampling, 0, true);
        window = ChangeBit(window, 0, false);
        break;
    default:
        line.Text() += kInvalidArgument;
        return line.Finish(REG_INVALID_DATA);
    }
    if (const CResult result = line.Write({}, kRegSubSampling, subSampling))
        return result;
    if (const CResult result = line.Write({}, kRegWindowEnable, window))
        return result;
    return line.Done(" Done.");
}
