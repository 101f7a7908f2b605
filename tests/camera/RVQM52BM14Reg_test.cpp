// The RVQM52 map: nibbles of shared high registers, 11-bit values, bit-0 switches and the
// short version texts.
#include "camera/RVQM52BM14Reg.h"
#include "tests/camera/MapFixture.h"

#include <cstring>

using testing_support::MapFixture;
using Frames = std::vector<std::string>;

namespace {

class RVQM52Map : public MapFixture<CRVQM52BM14Reg> {
protected:
    RVQM52Map() : MapFixture(camsim::Model::RVQM52CM14) {}
};

} // namespace

TEST_F(RVQM52Map, GrAndGbShareTheirHighRegister)
{
    camera.Set(0xD6, 0x5F);
    EXPECT_EQ(map.SetGrGain(0xABC), 0);
    EXPECT_EQ(Writes(), (Frames{"D65A", "D4BC"}));
    EXPECT_EQ(Line(), "\tSet Gr Gain, \tRead Gr Gain, \tSet Gr Gain High, \tSet Gr Gain LowDone.");

    Fresh();
    camera.Set(0xD6, 0x5F);
    EXPECT_EQ(map.SetGbGain(0xABC), 0);
    EXPECT_EQ(Writes(), (Frames{"D6AF", "D5BC"}));

    Fresh();
    camera.Set(0xD6, 0x3C);
    camera.Set(0xD4, 0x12);
    camera.Set(0xD5, 0x34);
    std::uint16_t gr = 0;
    std::uint16_t gb = 0;
    EXPECT_EQ(map.GetGrGain(&gr), 0);
    EXPECT_EQ(map.GetGbGain(&gb), 0);
    EXPECT_EQ(gr, 0xC12);
    EXPECT_EQ(gb, 0x334);
    EXPECT_EQ(log.Seq().front(), "\tGet Gr Gain, \tRead Gr Gain High, \tRead Gr Gain Low Done.");
}

TEST_F(RVQM52Map, ColourTemperatureGainsShareTheirHighRegister)
{
    camera.Set(0xE2, 0x5F);
    EXPECT_EQ(map.SetBGain4500K(0xABC), 0);
    EXPECT_EQ(Writes(), (Frames{"E2AF", "E1BC"}));
    Fresh();
    EXPECT_EQ(map.SetRGain4500K(0x123), 0);
    EXPECT_EQ(Writes(), (Frames{"E2A1", "E023"}));
    std::uint16_t r = 0;
    std::uint16_t b = 0;
    EXPECT_EQ(map.GetRGain4500K(&r), 0);
    EXPECT_EQ(map.GetBGain4500K(&b), 0);
    EXPECT_EQ(r, 0x123);
    EXPECT_EQ(b, 0xABC);

    Fresh();
    camera.Set(0xD9, 0x00);
    EXPECT_EQ(map.SetRGain3000K(0xFFFF), 0);
    EXPECT_EQ(Writes(), (Frames{"D90F", "D7FF"})) << "bits above 11 are dropped";
    EXPECT_EQ(Line(), "\tSet R Gain(3000K), \tRead R Gain(3000K), \tSet R Gain(3000K) High, "
                      "\tSet R Gain(3000K) LowDone.");
    Fresh();
    EXPECT_EQ(map.GetBGain6500K(&b), 0);
    EXPECT_EQ(link.Sent(), (Frames{"E8RQ", "E7RQ"}));
    EXPECT_EQ(Line(), "\tGet B Gain(6500K), \tRead B Gain(6500K) High, "
                      "\tRead B Gain(6500K) Low Done.");
}

TEST_F(RVQM52Map, MaskingGainsKeepTheUpperNibble)
{
    camera.Set(0xF5, 0xA0);
    EXPECT_EQ(map.SetMaskGBGain(0xFFF), 0);
    EXPECT_EQ(Writes(), (Frames{"F5AF", "F4FF"}));
    EXPECT_EQ(Line(), "\tSet MASK G-B Gain, \tRead MASK G-B Gain, \tSet MASK G-B Gain High, "
                      "\tSet MASK G-B Gain LowDone.");
    Fresh();
    std::uint16_t value = 0;
    EXPECT_EQ(map.GetMaskGBGain(&value), 0);
    EXPECT_EQ(value, 0xFFF);
    EXPECT_EQ(Line(), "\tGet MASK G-B Gain, \tRead MASK G-B Gain High, "
                      "\tRead MASK G-B Gain Low Done.");
}

TEST_F(RVQM52Map, ElevenBitValues)
{
    camera.Set(0x79, 0xFD);
    camera.Set(0x78, 0x12);
    std::uint16_t value = 0;
    EXPECT_EQ(map.GetRGain(&value), 0);
    EXPECT_EQ(value, 0x512);
    EXPECT_EQ(Line(), "\tGet R Gain, \tRead R Gain High, \tRead R Gain Low Done.");

    Fresh();
    EXPECT_EQ(map.SetRGain(0x7FF), 0);
    EXPECT_EQ(Writes(), (Frames{"79FF", "78FF"}));
    EXPECT_EQ(Line(), "\tSet R Gain, \tRead R Gain, \tSet R Gain High, \tSet R Gain LowDone.");

    Fresh();
    camera.Set(0x89, 0xF8);
    EXPECT_EQ(map.SetPartialHeight(0x4C0), 0);
    EXPECT_EQ(Writes(), (Frames{"89FC", "88C0"}));
    Fresh();
    camera.Set(0x85, 0x07);
    EXPECT_EQ(map.SetPartialVStart(0x010), 0);
    EXPECT_EQ(Writes(), (Frames{"8500", "8410"}));
    EXPECT_EQ(Line(), "\tSet Partial V Start, \tRead Partial V Start, "
                      "\tSet Partial V Start High, \tSet Partial V Start LowDone.");

    Fresh();
    camera.Set(0x69, 0xF0);
    EXPECT_EQ(map.SetShutterSpeed(2047), 0);
    EXPECT_EQ(Writes(), (Frames{"69F7", "68FF"}));
}

TEST_F(RVQM52Map, SwitchesAcceptOnlyZeroAndOne)
{
    EXPECT_EQ(map.SetGamma(2), REG_INVALID_DATA);
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Line(), "\tSet Gamma (2) Set parameter invalid. ");

    Fresh();
    camera.Set(0x7D, 0x80);
    EXPECT_EQ(map.SetGamma(1), 0);
    EXPECT_EQ(Writes(), Frames{"7D81"});
    EXPECT_EQ(Line(), "\tSet Gamma (1)  Done. ");

    Fresh();
    EXPECT_EQ(map.SetWhiteBalanceMode(257), REG_INVALID_DATA) << "the whole int counts";
    EXPECT_EQ(Line(), "\tSet White Balance Mode (257) Set parameter invalid. ");

    Fresh();
    camera.Set(0x92, 0xFF);
    EXPECT_EQ(map.SetOutputFormat(0), 0);
    EXPECT_EQ(camera.Get(0x92), 0xFE);
    std::uint8_t on = 9;
    EXPECT_EQ(map.GetOutputFormat(&on), 0);
    EXPECT_EQ(on, 0);
    EXPECT_EQ(log.Seq().back(), "\tGet Output Format Done. ");

    // A refused write keeps its text and still gets the closing.
    Fresh();
    camera.Set(0x7E, 0x00);
    link.refuse.insert("7E01");
    EXPECT_EQ(map.SetMask(1), REG_NAK);
    EXPECT_EQ(Line(), "\tSet Mask (1) [NAK] Recieved Done. ");

    Fresh();
    camera.Set(0x74, 0x03);
    int mode = 7;
    EXPECT_EQ(map.GetWhiteBalanceMode(&mode), 0);
    EXPECT_EQ(mode, 1);
    EXPECT_EQ(Line(), "\tGet White Balance Mode Done. ");
}

TEST_F(RVQM52Map, ShortVersionTexts)
{
    for (int i = 0; i < 8; ++i)
        camera.Set(0x30 + i, static_cast<std::uint8_t>('A' + i));
    camera.Set(0x38, 'V');
    camera.Set(0x39, '2');
    camera.Set(0x3A, 0);
    char text[kShortVersionSize];
    std::memset(text, 'z', sizeof text);
    EXPECT_EQ(map.GetShortCpuVersion(text), 0);
    EXPECT_STREQ(text, "ABCDEFGH");
    EXPECT_EQ(link.Sent().size(), 8u) << "at most eight characters";
    EXPECT_EQ(Line(), "\tGet CPU Version  ABCDEFGH Done.");

    Fresh();
    EXPECT_EQ(map.GetFpgaVersion(text), 0);
    EXPECT_STREQ(text, "V2");
    EXPECT_EQ(link.Sent().size(), 3u) << "reading stops at a zero";
    EXPECT_EQ(Line(), "\tGet FPGA Version  V2 Done.");

    Fresh();
    link.ignore.insert("38RQ");
    EXPECT_EQ(map.GetFpgaVersion(text), LINK_TIMEOUT);
    EXPECT_STREQ(text, "V2");
    EXPECT_EQ(Line(), "\tGet FPGA Version RS232C Timeout");
}

TEST_F(RVQM52Map, ByteSettingsOnTheirRegisters)
{
    EXPECT_EQ(map.SetWbColorTemp(255), 0);
    EXPECT_EQ(map.SetGain(0x21), 0);
    EXPECT_EQ(map.SetOffsetLevel(0x22), 0);
    EXPECT_EQ(map.SetOutLevelOffset(0x23), 0);
    EXPECT_EQ(map.SetOutLevelGain(0x24), 0);
    EXPECT_EQ(map.SetBOffset(0x25), 0);
    EXPECT_EQ(Writes(), (Frames{"75FF", "4321", "4222", "6223", "6424", "D325"}));
    EXPECT_EQ(log.Seq(),
              (Frames{"\tSet WB Color Temp.Done.", "\tSet Gain, Done.", "\tSet Offset Done.",
                      "\tSet Offset Done.", "\tSet OutLevelGain Done.", "\tSet B Offset.Done."}));
}
