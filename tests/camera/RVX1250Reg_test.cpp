// The RV1250LX map: 9-bit gains, the 5-bit out-level offset and the 11-bit shutter speed, each
// keeping the bits of its registers it does not own.
#include "camera/RVX1250Reg.h"
#include "tests/camera/MapFixture.h"

using testing_support::MapFixture;
using Frames = std::vector<std::string>;

namespace {

class RV1250Map : public MapFixture<CRVX1250Reg> {
protected:
    RV1250Map() : MapFixture(camsim::Model::RV1250LX) {}
};

} // namespace

TEST_F(RV1250Map, GainIsNineBitsWithBitEightInBitZero)
{
    camera.Set(0x44, 0x80);
    EXPECT_EQ(map.SetGain(0x1FF), 0);
    EXPECT_EQ(Writes(), (Frames{"4481", "43FF"}));
    EXPECT_EQ(Line(), "\tSet Gain, Done.");

    Fresh();
    EXPECT_EQ(map.SetGain(0x200), 0);
    EXPECT_EQ(Writes(), (Frames{"4480", "4300"})) << "bit 9 is dropped";

    Fresh();
    camera.Set(0x44, 0xFE);
    camera.Set(0x43, 0x34);
    std::uint16_t value = 0;
    EXPECT_EQ(map.GetGain(&value), 0);
    EXPECT_EQ(value, 0x034);
    EXPECT_EQ(link.Sent(), (Frames{"44RQ", "43RQ"}));
    EXPECT_EQ(Line(), "\tGet Gain  \tRead  Gain High, \tRead  Gain Low Done.");

    Fresh();
    link.refuse.insert("44FF");
    EXPECT_EQ(map.SetGain(0x100), REG_NAK);
    EXPECT_EQ(Line(), "\tSet Gain, [NAK] Recieved");
    EXPECT_EQ(Writes(), Frames{"44FF"}) << "the low register is not written after a failure";
}

TEST_F(RV1250Map, OutLevelOffsetIsFiveBits)
{
    camera.Set(0x62, 0xE0);
    EXPECT_EQ(map.SetOutLevelOffset(0x3F), 0);
    EXPECT_EQ(Writes(), Frames{"62FF"});
    EXPECT_EQ(Line(), "\tSet Offset Done.");

    Fresh();
    std::uint8_t value = 0;
    EXPECT_EQ(map.GetOutLevelOffset(&value), 0);
    EXPECT_EQ(value, 31);
    EXPECT_EQ(Line(), "\tGet Offset Done.");

    camera.Set(0x62, 0x1F);
    EXPECT_EQ(map.SetOutLevelOffset(0x00), 0);
    EXPECT_EQ(camera.Get(0x62), 0x00);
}

TEST_F(RV1250Map, OutLevelGain)
{
    camera.Set(0x65, 0xAA);
    EXPECT_EQ(map.SetOutLevelGain(0x155), 0);
    EXPECT_EQ(Writes(), (Frames{"65AB", "6455"}));
    EXPECT_EQ(Line(),
              "\tSet OutLevel Gain \tRead  Gain High, \tSet  Gain High, \tSet  Gain Low  Done.");

    Fresh();
    std::uint16_t value = 0;
    EXPECT_EQ(map.GetOutLevelGain(&value), 0);
    EXPECT_EQ(value, 0x155);
    EXPECT_EQ(Line(), "\tGet OutLevel Gain \tRead  Gain High, \tRead  Gain Low Done.");

    Fresh();
    link.refuse.insert("65RQ");
    EXPECT_EQ(map.SetOutLevelGain(1), REG_NAK);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Line(), "\tSet OutLevel Gain \tRead  Gain High, [NAK] Recieved");
}

TEST_F(RV1250Map, ShutterSpeedIsElevenBits)
{
    camera.Set(0x69, 0xF0);
    EXPECT_EQ(map.SetShutterSpeed(2047), 0);
    EXPECT_EQ(Writes(), (Frames{"69F7", "68FF"}));
    EXPECT_EQ(Line(), "\tSet Shutter  Speed, \tRead  Shutter  Speed High, "
                      "\tSet  Shutter  Speed High, \tSet  Shutter  Speed Low Done.");

    Fresh();
    std::uint16_t value = 0;
    EXPECT_EQ(map.GetShutterSpeed(&value), 0);
    EXPECT_EQ(value, 2047);
    EXPECT_EQ(link.Sent(), (Frames{"69RQ", "68RQ"}));
    EXPECT_EQ(Line(), "\tGet Shutter Speed, \tRead Shutter  Speed High, "
                      "\tRead  Shutter  Speed Low Done.");

    Fresh();
    EXPECT_EQ(map.SetShutterSpeed(2048), 0);
    EXPECT_EQ(Writes(), (Frames{"69F0", "6800"})) << "bit 11 is dropped";
}
