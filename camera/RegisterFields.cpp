#include "camera/RegisterFields.h"

#include "camera/SequenceLine.h"

namespace regfield {
namespace {

constexpr const char* kSwitchDone = "Done. ";

} // namespace

CResult GetByte(CRVXReg& reg, const ByteOp& op, std::uint8_t* value)
{
    CSequenceLine line(reg, op.first);
    std::uint8_t byte = 0;
    if (const CResult result = line.Read(op.step, op.address, byte))
        return result;
    line.Done(op.closing);
    *value = byte;
    return REG_OK;
}

CResult SetByte(CRVXReg& reg, const ByteOp& op, std::uint8_t value)
{
    CSequenceLine line(reg, op.first);
    if (const CResult result = line.Write(op.step, op.address, value))
        return result;
    return line.Done(op.closing);
}

CResult GetSplit(CRVXReg& reg, const SplitField& field, const SplitGetTexts& texts,
                 std::uint16_t* value)
{
    CSequenceLine line(reg, texts.first);
    std::uint8_t high = 0;
    std::uint8_t low = 0;
    if (const CResult result = line.Read(texts.readHigh, field.high, high))
        return result;
    if (const CResult result = line.Read(texts.readLow, field.low, low))
        return result;
    line.Done(texts.closing);
    *value = static_cast<std::uint16_t>(((high & field.mask) >> field.shift) << 8 | low);
    return REG_OK;
}

CResult SetSplit(CRVXReg& reg, const SplitField& field, const SplitSetTexts& texts,
                 std::uint16_t value)
{
    CSequenceLine line(reg, texts.first);
    std::uint8_t high = 0;
    if (const CResult result = line.Read(texts.readHigh, field.high, high))
        return result;
    const auto upper = static_cast<std::uint8_t>(((value >> 8) << field.shift) & field.mask);
    high = static_cast<std::uint8_t>((high & ~field.mask) | upper);
    if (const CResult result = line.Write(texts.setHigh, field.high, high))
        return result;
    if (const CResult result = line.Write(texts.setLow, field.low, value & 0xFF))
        return result;
    return line.Done(texts.closing);
}

SplitGetTexts NamedGetTexts(const std::string& name)
{
    return {"\tGet " + name + ", ", "\tRead " + name + " High, ", "\tRead " + name + " Low ",
            kDone};
}

SplitSetTexts NamedSetTexts(const std::string& name)
{
    return {"\tSet " + name + ", ", "\tRead " + name + ", ", "\tSet " + name + " High, ",
            "\tSet " + name + " Low", kDone};
}

CResult GetMasked(CRVXReg& reg, const std::string& first, int address, std::uint8_t mask,
                  std::uint8_t* value)
{
    CSequenceLine line(reg, first);
    std::uint8_t byte = 0;
    if (const CResult result = line.Read({}, address, byte))
        return result;
    line.Done(kDone);
    *value = static_cast<std::uint8_t>(byte & mask);
    return REG_OK;
}

CResult SetMasked(CRVXReg& reg, const std::string& first, int address, std::uint8_t mask,
                  std::uint8_t value)
{
    CSequenceLine line(reg, first);
    std::uint8_t byte = 0;
    if (const CResult result = line.Read({}, address, byte))
        return result;
    byte = static_cast<std::uint8_t>((byte & ~mask) | (value & mask));
    if (const CResult result = line.Write({}, address, byte))
        return result;
    return line.Done(kDone);
}

CResult GetSwitch(CRVXReg& reg, const char* first, int address, std::uint8_t* on)
{
    CSequenceLine line(reg, first);
    std::uint8_t byte = 0;
    if (const CResult result = line.Read({}, address, byte))
        return result;
    line.Done(kSwitchDone);
    *on = static_cast<std::uint8_t>(CRVXReg::TestBit(byte, 0));
    return REG_OK;
}

CResult SetSwitch(CRVXReg& reg, const char* labelFormat, int address, int on)
{
    CSequenceLine line(reg, FormatLine(labelFormat, on));
    std::uint8_t byte = 0;
    if (const CResult result = line.Read({}, address, byte))
        return result;
    if (on == 1) {
        byte = static_cast<std::uint8_t>(byte | 0x01);
    } else if (on == 0) {
        byte = static_cast<std::uint8_t>(byte & 0xFE);
    } else {
        line.Text() += "Set parameter invalid. ";
        return line.Finish(REG_INVALID_DATA);
    }
    // A failed write keeps its result text and still gets the closing.
    const CResult result = reg.WriteRegister(address, byte);
    if (result)
        line.Text() += result.Text();
    line.Text() = FormatLine("%s Done. ", line.Text().c_str());
    return line.Finish(result);
}

} // namespace regfield
