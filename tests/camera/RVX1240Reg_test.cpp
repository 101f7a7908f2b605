// The RV1240DLX map: signed 10-bit offsets, the shutter flag, the AFE control bits, and every
// byte-wide operation on its own register.
#include "camera/RVX1240Reg.h"
#include "tests/camera/MapFixture.h"
#include "tools/vireoctl/NamedOps.h"

#include <cstdio>
#include <map>

using testing_support::MapFixture;
using Frames = std::vector<std::string>;

namespace {

class RV1240Map : public MapFixture<CRVX1240Reg> {
protected:
    RV1240Map() : MapFixture(camsim::Model::RV1240DLX) {}
};

std::string WriteFrame(int address, int value)
{
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X", address, value);
    return text;
}

} // namespace

TEST_F(RV1240Map, OffsetLevelIsTenBitTwosComplement)
{
    struct Case {
        std::int16_t value;
        std::uint8_t high; // written to 0x43, which held 0xF0
        std::uint8_t low;
        std::int16_t readBack;
    };
    const Case cases[] = {
        {-1, 0xF3, 0xFF, -1},       {-512, 0xF2, 0x00, -512}, {511, 0xF1, 0xFF, 511},
        {0, 0xF0, 0x00, 0},         {600, 0xF2, 0x58, -424},  {-600, 0xF3, 0xA8, -88},
        {-32768, 0xF2, 0x00, -512},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        camera.Set(0x43, 0xF0);
        Fresh();
        EXPECT_EQ(map.SetOffsetLevel(c.value), 0);
        EXPECT_EQ(Writes(), (Frames{WriteFrame(0x43, c.high), WriteFrame(0x42, c.low)}));
        EXPECT_EQ(Line(), "\tSet Offset \tRead  Offset/Gain High, \tSet Offset/Gain High, "
                          "\t Set Offset/Gain low Done.");
        Fresh();
        std::int16_t value = 0;
        EXPECT_EQ(map.GetOffsetLevel(&value), 0);
        EXPECT_EQ(value, c.readBack);
        EXPECT_EQ(Line(), "\tGet Offset, \tRead  Offset/Gain High \tRead  Offset/Gain Low Done.");
    }
}

TEST_F(RV1240Map, OutLevelOffsetUsesItsOwnPairAndTexts)
{
    camera.Set(0x63, 0xA8);
    camera.Set(0x43, 0x00);
    EXPECT_EQ(map.SetOutLevelOffset(-2), 0);
    EXPECT_EQ(Writes(), (Frames{"63AB", "62FE"}));
    EXPECT_EQ(camera.Get(0x43), 0x00);
    EXPECT_EQ(Line(), "\tSet OutLevel Offset, \tRead  Offset/Gain High \tSet Offset/Gain High, "
                      "\tSet Offset/Gain low Done.");
    Fresh();
    std::int16_t value = 0;
    EXPECT_EQ(map.GetOutLevelOffset(&value), 0);
    EXPECT_EQ(value, -2);
    EXPECT_EQ(Line(),
              "\tGet OutLevel Offset, \tRead  Offset/Gain High, \tRead  Offset/Gain Low Done.");
}

TEST_F(RV1240Map, OffsetFailuresStopWhereTheyHappen)
{
    link.refuse.insert("43RQ");
    EXPECT_EQ(map.SetOffsetLevel(5), REG_NAK);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Line(), "\tSet Offset \tRead  Offset/Gain High, [NAK] Recieved");

    // The high register stays written when the low one fails.
    Fresh();
    link.refuse.clear();
    camera.Set(0x43, 0x00);
    camera.Set(0x42, 0x11);
    link.refuse.insert("42FF");
    EXPECT_EQ(map.SetOffsetLevel(-1), REG_NAK);
    EXPECT_EQ(camera.Get(0x43), 0x03);
    EXPECT_EQ(camera.Get(0x42), 0x11);
    EXPECT_EQ(Line(), "\tSet Offset \tRead  Offset/Gain High, \tSet Offset/Gain High, "
                      "\t Set Offset/Gain low [NAK] Recieved");

    Fresh();
    link.ignore.insert("42RQ");
    std::int16_t value = 123;
    EXPECT_EQ(map.GetOffsetLevel(&value), LINK_TIMEOUT);
    EXPECT_EQ(value, 123);
    EXPECT_EQ(Line(), "\tGet Offset, \tRead  Offset/Gain High \tRead  Offset/Gain Low "
                      "RS232C Timeout");
}

TEST_F(RV1240Map, ShutterFlagIsBitOneOfShatterMd1)
{
    camera.Set(0x66, 0x01);
    EXPECT_EQ(map.SetShutter(2), REG_INVALID_DATA);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Line(), "\tSet Shutter Set parameter invalid.");

    Fresh();
    EXPECT_EQ(map.SetShutter(1), 0);
    EXPECT_EQ(Writes(), Frames{"6603"});
    EXPECT_EQ(Line(), "\tSet Shutter Done. ");

    Fresh();
    std::uint8_t on = 0;
    EXPECT_EQ(map.GetShutter(&on), 0);
    EXPECT_EQ(on, 1);
    EXPECT_EQ(Line(), "\tGet Shutter Done. ");

    Fresh();
    EXPECT_EQ(map.SetShutter(0), 0);
    EXPECT_EQ(camera.Get(0x66), 0x01);
}

TEST_F(RV1240Map, ClearAfeCalControlBitsKeepsTheRest)
{
    camera.Set(0xBC, 0xFF);
    EXPECT_EQ(map.ClearAfeCalControlBits(), 0);
    EXPECT_EQ(Writes(), Frames{"BCE9"});
    EXPECT_EQ(Line(), "\tSet AFE CAL CONTROL Done. ");
}

TEST_F(RV1240Map, ByteGetterLines)
{
    std::uint8_t value = 0;
    EXPECT_EQ(map.GetVOffsetFlag(&value), 0);
    EXPECT_EQ(Line(), "\tGet V_Offset frag, \tRead  V_Offset frag Done.");

    Fresh();
    link.refuse.insert("45RQ");
    value = 0x33;
    EXPECT_EQ(map.GetPxga1(&value), REG_NAK);
    EXPECT_EQ(value, 0x33);
    EXPECT_EQ(Line(), "\tGet PXGA1, \tRead  PXGA1 [NAK] Recieved");

    Fresh();
    EXPECT_EQ(map.SetPldGain(0x80), 0);
    EXPECT_EQ(Line(), "\tSet PLD GainDone.");
    Fresh();
    EXPECT_EQ(map.GetOutLevelGain(&value), 0);
    EXPECT_EQ(Line(), "\tGet OutLevel Gain Done.");
    Fresh();
    EXPECT_EQ(map.SetRegisterUpdate(1), 0);
    EXPECT_EQ(Writes(), Frames{"6E01"});
    EXPECT_EQ(Line(), "\tRegister Update Execute Done.");
}

// Each byte-wide operation of this map reaches its own register and no other.
TEST_F(RV1240Map, EveryByteOperationOnItsRegister)
{
    const std::map<std::string, int> registers{
        {"PldGain", 0x44},
        {"Pxga1", 0x45},
        {"Pxga2", 0x46},
        {"Pxga3", 0x47},
        {"Pxga4", 0x48},
        {"Power", 0x49},
        {"AosAccLen", 0x4A},
        {"VOffsetFlag", 0x4B},
        {"AccLenOffset", 0x4C},
        {"DelayCnt", 0x4D},
        {"OutPutCtrl", 0x4E},
        {"CcdControl", 0x4F},
        {"OutLevelGain", 0x64},
        {"ShatterMd1", 0x66},
        {"ShatterSpeed", 0x68},
        {"ShutterSpeed", 0x68},
        {"Trigger1", 0x6A},
        {"Trigger2", 0x6B},
        {"RegisterUpdate", 0x6E},
        {"SubSampling", 0x70},
        {"WindowEnable", 0x81},
        {"BitInfo", 0x90},
        {"AfeVos1Low", 0xB0},
        {"AfeVos1Hi", 0xB1},
        {"AfeVos2Low", 0xB2},
        {"AfeVos2Hi", 0xB3},
        {"AfeVos3Low", 0xB4},
        {"AfeVos3Hi", 0xB5},
        {"AfeVos4Low", 0xB6},
        {"AfeVos4Hi", 0xB7},
        {"AfeBlkAdjDataDebugLow", 0xB8},
        {"AfeBlkAdjDataDebugHi", 0xB9},
        {"AfeBlkAdjCalcMode", 0xBA},
        {"AfeBlkCalibrationCount", 0xBB},
        {"AfeCalControl", 0xBC},
        {"AfeCalStatus", 0xBD},
        {"AfeHiControl", 0xBE},
        {"AfeBcalMode", 0xBF},
    };
    int covered = 0;
    for (const auto& op : vireoctl::OperationsOf(vireoctl::MapKind::RV1240)) {
        const std::string setting = op.name.substr(3);
        const auto found = registers.find(setting);
        if (found == registers.end())
            continue;
        SCOPED_TRACE(op.name);
        ++covered;
        char address[8];
        std::snprintf(address, sizeof address, "%02X", found->second);
        Fresh();
        std::vector<std::string> outputs;
        if (op.name.rfind("Get", 0) == 0) {
            camera.Set(found->second, 0xA7);
            ASSERT_EQ(op.arity, 0u);
            EXPECT_EQ(op.bind({})(map, outputs), 0);
            EXPECT_EQ(link.Sent(), Frames{std::string(address) + "RQ"});
            EXPECT_EQ(outputs, Frames{"167"});
        } else {
            ASSERT_EQ(op.arity, 1u);
            EXPECT_EQ(op.bind({"0x5C"})(map, outputs), 0);
            EXPECT_EQ(link.Sent(), Frames{std::string(address) + "5C"});
        }
        EXPECT_EQ(log.Seq().size(), 1u);
    }
    EXPECT_EQ(covered, 63);
}
