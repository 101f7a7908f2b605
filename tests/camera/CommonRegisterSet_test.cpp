// The operations every register map shares, against the simulated camera: frames sent,
// registers changed and the one sequence-log line.
#include "camera/RVQM52BM14Reg.h"
#include "camera/RVX1240Reg.h"
#include "camera/RVX1250Reg.h"
#include "tests/camera/MapFixture.h"

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

using testing_support::MapFixture;
using Frames = std::vector<std::string>;

namespace {

class CommonRegisterSet : public MapFixture<CRVX1250Reg> {
protected:
    CommonRegisterSet() : MapFixture(camsim::Model::RV1250LX) {}
};

} // namespace

TEST_F(CommonRegisterSet, BankMemoryChecksTheBankBeforeSending)
{
    EXPECT_EQ(map.LoadBankMemory(3), 0);
    EXPECT_EQ(link.Sent(), Frames{"5203"});
    EXPECT_EQ(Line(), "\tLoad Bank Memory (0x3)Done.");

    Fresh();
    EXPECT_EQ(map.LoadBankMemory(8), REG_INVALID_PARAMETER);
    EXPECT_TRUE(link.Sent().empty());
    EXPECT_EQ(Line(), "\tLoad Bank Memory (0x8) Invalid parameter");

    Fresh();
    EXPECT_EQ(map.ResetBankMemory(255), 0);
    EXPECT_EQ(link.Sent(), Frames{"53FF"});
    EXPECT_EQ(Line(), "\tReset Bank Memory (0xff)Done.");

    Fresh();
    EXPECT_EQ(map.SaveBankMemory(255), REG_INVALID_PARAMETER) << "only a reset takes all banks";
    EXPECT_EQ(map.LoadBankMemory(255), REG_INVALID_PARAMETER);
    EXPECT_TRUE(link.Sent().empty());

    Fresh();
    link.refuse.insert("5107");
    EXPECT_EQ(map.SaveBankMemory(7), REG_NAK);
    EXPECT_EQ(Line(), "\tSave Bank Memory (0x7)[NAK] Recieved");
}

TEST_F(CommonRegisterSet, RawRegisterAccessStopsAtTheLastRegister)
{
    std::uint8_t value = 0x77;
    EXPECT_EQ(map.GetRegister(0x301, &value), REG_INVALID_REGISTER);
    EXPECT_EQ(map.GetRegister(-1, &value), REG_INVALID_REGISTER);
    EXPECT_EQ(map.SetRegister(0x301, 1), REG_INVALID_REGISTER);
    EXPECT_TRUE(link.Sent().empty());
    EXPECT_EQ(value, 0x77);

    camera.Set(0x300, 0x9C);
    EXPECT_EQ(map.GetRegister(0x300, &value), 0);
    EXPECT_EQ(value, 0x9C);
    EXPECT_EQ(map.SetRegister(0x150, 0x1A5), 0);
    EXPECT_EQ(link.Sent(), (Frames{"300RQ", "150A5"}));
    EXPECT_EQ(camera.Get(0x150), 0xA5);
    EXPECT_TRUE(log.Seq().empty()) << "raw access writes no sequence log";
}

TEST_F(CommonRegisterSet, SingleBitSettersKeepTheOtherBits)
{
    camera.Set(0x6A, 0x02);
    EXPECT_EQ(map.SetShutterMode(1), 0);
    EXPECT_EQ(Writes(), Frames{"6A03"});
    EXPECT_EQ(Line(), "\tSet Shutter Mode,   Done. ");

    Fresh();
    EXPECT_EQ(map.SetShutterMode(2), REG_INVALID_DATA);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Line(), "\tSet Shutter Mode, Set parameter invalid. ");

    Fresh();
    camera.Set(0x6A, 0xFF);
    EXPECT_EQ(map.SetTriggerPolarity(0), 0);
    EXPECT_EQ(Writes(), Frames{"6AFD"});
    EXPECT_EQ(Line(), "\tSet Trigger Polarity, Done. ");

    Fresh();
    camera.Set(0x66, 0x80);
    EXPECT_EQ(map.SetMultipleShutter(1), 0);
    EXPECT_EQ(camera.Get(0x66), 0x81);
    EXPECT_EQ(Line(), "\tSet Multiple Shutter  Done. ");

    Fresh();
    camera.Set(0x6B, 0xF1);
    EXPECT_EQ(map.SetRandomMode(0), 0);
    EXPECT_EQ(camera.Get(0x6B), 0xF0);
    EXPECT_EQ(Line(), "\tSet RandomMode,  Done. ");

    Fresh();
    EXPECT_EQ(map.SetRandomMode(5), REG_INVALID_DATA);
    EXPECT_EQ(Line(), "\tSet RandomMode, Set parameter invalid.");
    EXPECT_TRUE(Writes().empty());
}

TEST_F(CommonRegisterSet, SingleBitGettersReadTheirBit)
{
    camera.Set(0x6A, 0x02);
    std::uint8_t on = 9;
    EXPECT_EQ(map.GetTriggerPolarity(&on), 0);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(map.GetShutterMode(&on), 0);
    EXPECT_EQ(on, 0);
    camera.Set(0x66, 0xFE);
    EXPECT_EQ(map.GetMultipleShutter(&on), 0);
    EXPECT_EQ(on, 0);
    camera.Set(0x6B, 0x01);
    EXPECT_EQ(map.GetRandomMode(&on), 0);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(log.Seq(), (Frames{"\tGet Trigger Polarity Done.", "\tGet Shutter Mode Done. ",
                                 "\tGet Multiple Shutter Done. ", "\tGet Random Mode Done. "}));

    Fresh();
    link.refuse.insert("6BRQ");
    on = 9;
    EXPECT_EQ(map.GetRandomMode(&on), REG_NAK);
    EXPECT_EQ(on, 9) << "a failed getter leaves its output alone";
    EXPECT_EQ(Line(), "\tGet Random Mode [NAK] Recieved");
}

TEST_F(CommonRegisterSet, ScanModeFromTwoRegisters)
{
    std::uint8_t mode = 7;
    camera.Set(0x70, 0xFE);
    camera.Set(0x81, 0x01);
    EXPECT_EQ(map.GetScanMode(&mode), 0);
    EXPECT_EQ(mode, 1);
    camera.Set(0x70, 0x01);
    camera.Set(0x81, 0xFE);
    EXPECT_EQ(map.GetScanMode(&mode), 0);
    EXPECT_EQ(mode, 2);

    Fresh();
    camera.Set(0x81, 0x01);
    mode = 7;
    EXPECT_EQ(map.GetScanMode(&mode), REG_INVALID_DATA);
    EXPECT_EQ(mode, 7) << "an impossible pair leaves the mode alone";
    EXPECT_EQ(Line(), "\tGet Scan Mode Camera replies invalid data ");

    Fresh();
    link.ignore.insert("81RQ");
    EXPECT_EQ(map.GetScanMode(&mode), LINK_TIMEOUT);
    EXPECT_EQ(mode, 0) << "a failed read resets the mode";
    EXPECT_EQ(Line(), "\tGet Scan Mode RS232C Timeout");
}

TEST_F(CommonRegisterSet, SetScanModeWritesBothRegisters)
{
    camera.Set(0x70, 0xFF);
    camera.Set(0x81, 0x00);
    EXPECT_EQ(map.SetScanMode(1), 0);
    EXPECT_EQ(Writes(), (Frames{"70FE", "8101"}));
    EXPECT_EQ(Line(), "\tSet Scan Mode  Done.");

    Fresh();
    EXPECT_EQ(map.SetScanMode(2), 0);
    EXPECT_EQ(Writes(), (Frames{"70FF", "8100"}));

    Fresh();
    EXPECT_EQ(map.SetScanMode(3), REG_INVALID_DATA);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Line(), "\tSet Scan Mode Set parameter invalid. ");

    Fresh();
    link.refuse.insert("70FE");
    EXPECT_EQ(map.SetScanMode(0), REG_NAK);
    EXPECT_EQ(Writes(), Frames{"70FE"}) << "the first failure ends the writes";
    EXPECT_EQ(Line(), "\tSet Scan Mode [NAK] Recieved");
}

TEST_F(CommonRegisterSet, ErrorRegisters)
{
    camera.Set(0x40, 0x1F);
    camera.Set(0x41, 0x02);
    camera.Set(0x95, 0xA0);
    std::uint8_t value = 0;
    EXPECT_EQ(map.GetErrorMode(&value), 0);
    EXPECT_EQ(value, 0x1F);
    EXPECT_EQ(map.GetErrorStatus(&value), 0);
    EXPECT_EQ(value, 0x02);
    EXPECT_EQ(map.GetErrorStatus2(&value), 0);
    EXPECT_EQ(value, 0xA0);
    EXPECT_EQ(log.Seq(), (Frames{"\tGet Error Mode  1F Done.", "\tGet Error Status  02 Done.",
                                 "\tGet Error Status  A0 Done."}));

    Fresh();
    camera.Set(0x40, 0x81);
    std::int32_t flags[kErrorModeBits] = {5, 5, 5, 5, 5, 5, 5, 5};
    EXPECT_EQ(map.GetErrorModeBits(flags), 0);
    EXPECT_EQ(std::vector<std::int32_t>(flags, flags + 8),
              (std::vector<std::int32_t>{1, 0, 0, 0, 0, 0, 0, 1}));
    EXPECT_EQ(Line(), "\tGet Error Mode  81 Done.") << "the error mode's line is the only one";

    Fresh();
    link.refuse.insert("40RQ");
    std::fill(flags, flags + 8, 5);
    EXPECT_EQ(map.GetErrorModeBits(flags), REG_NAK);
    EXPECT_EQ(flags[0], 0);
    EXPECT_EQ(flags[1], 5);
    EXPECT_EQ(Line(), "\tGet Error Mode [NAK] Recieved");
}

TEST_F(CommonRegisterSet, OffsetIsLowThenHighAndZeroOnFailure)
{
    camera.Set(0x62, 0x34);
    camera.Set(0x63, 0x12);
    std::uint16_t offset = 0;
    EXPECT_EQ(map.GetOffset(&offset), 0);
    EXPECT_EQ(offset, 0x1234);
    EXPECT_EQ(link.Sent(), (Frames{"62RQ", "63RQ"}));
    EXPECT_EQ(Line(), "\tGet Offset Done.");

    Fresh();
    link.refuse.insert("63RQ");
    EXPECT_EQ(map.GetOffset(&offset), REG_NAK);
    EXPECT_EQ(offset, 0);
    EXPECT_EQ(Line(), "\tGet Offset [NAK] Recieved");
}

TEST_F(CommonRegisterSet, IdentificationTexts)
{
    EXPECT_EQ(map.SetVenderName("ACME"), 0);
    // The terminating zero goes out as the address alone.
    EXPECT_EQ(link.Sent(), (Frames{"00A", "01C", "02M", "03E", "04"}));
    EXPECT_EQ(Line(), "\tSet Vender name  ACME Done.");

    Fresh();
    char text[kIdTextSize] = "unchanged";
    EXPECT_EQ(map.GetVenderName(text), 0);
    EXPECT_STREQ(text, "ACME");
    EXPECT_EQ(Line(), "\tGet Vender name  ACME Done.");

    Fresh();
    EXPECT_EQ(map.SetModelName("0123456789ABCDEFXYZ"), 0);
    EXPECT_EQ(link.Sent().size(), 16u) << "at most sixteen characters";
    EXPECT_EQ(map.GetModelName(text), 0);
    EXPECT_STREQ(text, "0123456789ABCDEF");

    Fresh();
    camera.Set(0x30, 'V');
    link.refuse.insert("31RQ");
    std::snprintf(text, sizeof text, "old");
    EXPECT_EQ(map.GetCpuVersion(text), REG_INVALID_DATA) << "NAK is no character";
    EXPECT_STREQ(text, "old");
    EXPECT_EQ(Line(), "\tGet CPU Version Camera replies invalid data ");
}

TEST_F(CommonRegisterSet, SerialNumber)
{
    EXPECT_EQ(map.SetSerialNo("1234567"), 0);
    EXPECT_EQ(Writes(), (Frames{"2031", "2132", "2233", "2334", "2435", "2536", "2637"}));
    EXPECT_EQ(Line(), "\tSet Serial No.  1234567 Done");

    // A shorter text is followed by zeros; nothing beyond its end is sent.
    Fresh();
    EXPECT_EQ(map.SetSerialNo("12"), 0);
    EXPECT_EQ(Writes(), (Frames{"2031", "2132", "2200", "2300", "2400", "2500", "2600"}));
    EXPECT_EQ(Line(), "\tSet Serial No.  12 Done");

    Fresh();
    char text[kSerialNoSize] = "x";
    EXPECT_EQ(map.GetSerialNo(text), 0);
    EXPECT_STREQ(text, "12");
    EXPECT_EQ(Line(), "\tGet Serial No  12 Done.");

    // 0xFE is an ordinary character here.
    camera.Set(0x22, 0xFE);
    camera.Set(0x23, '9');
    EXPECT_EQ(map.GetSerialNo(text), 0);
    EXPECT_STREQ(text, "12\xFE"
                       "9");

    Fresh();
    link.refuse.insert("2142");
    EXPECT_EQ(map.SetSerialNo("ABCDEFG"), REG_NAK);
    EXPECT_EQ(Writes(), (Frames{"2041", "2142"})) << "the first failure ends the loop";
    EXPECT_EQ(Line(), "\tSet Serial No.  ABCDEFG [NAK] Recieved");

    Fresh();
    link.refuse.insert("24RQ");
    EXPECT_EQ(map.GetSerialNo(text), REG_NAK);
    EXPECT_STREQ(text, "-------");
    EXPECT_EQ(Line(), "\tGet Serial No [NAK] Recieved");
}

TEST_F(CommonRegisterSet, RegisterUpdate)
{
    EXPECT_EQ(map.RegisterUpdateExecute(), 0);
    EXPECT_EQ(link.Sent(), Frames{"6E01"});
    EXPECT_EQ(Line(), "\tRegister Update Execute Done");

    Fresh();
    link.refuse.insert("6E01");
    EXPECT_EQ(map.RegisterUpdateExecute(), REG_NAK);
    EXPECT_EQ(Line(), "\tRegister Update Execute [NAK] Recieved");
}

TEST(RegisterMapBasics, SignedTenBitConversions)
{
    EXPECT_EQ(ToSigned10(-1), 0x3FF);
    EXPECT_EQ(ToSigned10(-512), 0x200);
    EXPECT_EQ(ToSigned10(511), 0x1FF);
    EXPECT_EQ(FromSigned10(0x3FF), 0xFFFF);
    EXPECT_EQ(FromSigned10(0x200), 0xFE00);
    EXPECT_EQ(FromSigned10(0x1FF), 0x1FF);
    for (int v = -512; v <= 511; ++v)
        EXPECT_EQ(static_cast<std::int16_t>(FromSigned10(ToSigned10(static_cast<std::int16_t>(v)))),
                  v);
}

TEST(RegisterMapBasics, ModelTypes)
{
    camsim::Camera camera;
    testing_support::CamsimLink link(camera);
    CRVX1240Reg reg1240(&link);
    CRVX1250Reg reg1250(&link);
    CRVQM52BM14Reg regQM52(&link);
    CRVXReg* maps[] = {&reg1240, &reg1250, &regQM52};
    EXPECT_EQ(maps[0]->GetModelType(), 0);
    EXPECT_EQ(maps[1]->GetModelType(), 1);
    EXPECT_EQ(maps[2]->GetModelType(), 2);
}

namespace {

class ThrowingLog final : public ILogWriter {
public:
    int AddCommLog(const char*) override { return 0; }
    int AddSeqLog(const char*) override
    {
        ++calls;
        throw std::runtime_error("log window gone");
    }
    int calls = 0;
};

} // namespace

TEST(RegisterMapBasics, TheLogNeverStopsAnOperation)
{
    camsim::Camera camera;
    testing_support::CamsimLink link(camera);
    CRVX1240Reg map(&link);
    std::uint8_t value = 0;
    ASSERT_EQ(g_pLogDlg.load(), nullptr);
    EXPECT_EQ(map.GetPower(&value), 0) << "no log window";

    ThrowingLog log;
    g_pLogDlg.store(&log);
    EXPECT_EQ(map.SetPower(0x42), 0);
    g_pLogDlg.store(nullptr);
    EXPECT_EQ(log.calls, 1);
    EXPECT_EQ(camera.Get(0x49), 0x42);
}

namespace {

// Keeps each request frame whole and answers every one with NAK.
class FrameRecorder final : public CComIF {
public:
    CResult SendReceive(const char* request, char* reply, std::size_t replySize) override
    {
        frames.emplace_back(request);
        std::snprintf(reply, replySize, "\x15");
        return LINK_OK;
    }
    std::vector<std::string> frames;
};

// The frame printf would make of the format and arguments.
template <class... Args> std::string Printed(const char* format, Args... args)
{
    char text[32];
    std::snprintf(text, sizeof text, format, args...);
    return text;
}

} // namespace

TEST(RegisterMapBasics, RequestFramesSpellTheAddressInUpperCaseHexOfAtLeastTwoDigits)
{
    FrameRecorder port;
    CRVX1240Reg map(&port);
    for (const int address : {0x00, 0x0A, 0x6E, 0xFF, 0x100, 0xABCDE, -1}) {
        port.frames.clear();
        std::uint8_t value = 0;
        char text[4] = {};
        map.ReadRegister(address, value);
        map.WriteRegister(address, 0x1F5);
        map.ReadRegisterString(address, text, 3);
        map.WriteRegisterString(address, "", 3);
        const std::vector<std::string> expected = {
            Printed("\x02%02XRQ\x03", address), Printed("\x02%02X%02X\x03", address, 0xF5),
            Printed("\x02%02XRQ\x03", address),
            Printed("\x02%02X", address), // the terminating zero ends the frame's text
        };
        EXPECT_EQ(port.frames, expected) << address;
    }
}
