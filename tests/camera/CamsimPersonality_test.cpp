// The simulated camera's personalities seen through the register maps: identity texts,
// power-on values the setting pages can show, memory banks, register update, one-push white
// balance and auto black balance.
#include "camera/RVQM52BM14Reg.h"
#include "camera/RVX1240Reg.h"
#include "camera/RVX1250Reg.h"
#include "tests/camera/MapFixture.h"

#include <cstring>

using testing_support::MapFixture;

namespace {

class RV1240Sim : public MapFixture<CRVX1240Reg> {
protected:
    RV1240Sim() : MapFixture(camsim::Model::RV1240DLX) {}
};

class RV1250Sim : public MapFixture<CRVX1250Reg> {
protected:
    RV1250Sim() : MapFixture(camsim::Model::RV1250LX) {}
};

class ColourSim : public MapFixture<CRVQM52BM14Reg> {
protected:
    ColourSim() : MapFixture(camsim::Model::RVQM52CM14) {}
};

class MonoSim : public MapFixture<CRVQM52BM14Reg> {
protected:
    MonoSim() : MapFixture(camsim::Model::RVQM52BM14) {}
};

} // namespace

TEST_F(RV1240Sim, IdentityAndPowerOnValues)
{
    char text[kIdTextSize] = {};
    EXPECT_EQ(map.GetModelName(text), 0);
    EXPECT_STREQ(text, "RV1240DLX");
    EXPECT_EQ(map.GetVenderName(text), 0);
    EXPECT_STRNE(text, "");
    char serial[kSerialNoSize] = {};
    EXPECT_EQ(map.GetSerialNo(serial), 0);
    EXPECT_EQ(std::strlen(serial), 7u);

    std::uint8_t mode = 9;
    EXPECT_EQ(map.GetScanMode(&mode), 0);
    EXPECT_EQ(mode, 0);
    std::uint8_t speed = 0;
    EXPECT_EQ(map.GetShatterSpeed(&speed), 0);
    EXPECT_EQ(speed, 149) << "an entry of the shutter page's list";
    std::uint8_t bits = 0;
    EXPECT_EQ(map.GetBitInfo(&bits), 0);
    EXPECT_EQ(bits & 0x03, 1) << "10-bit output";
}

TEST_F(RV1240Sim, BanksSaveLoadAndReset)
{
    std::uint8_t factory = 0;
    ASSERT_EQ(map.GetPower(&factory), 0);
    ASSERT_EQ(map.SetPower(0x55), 0);
    ASSERT_EQ(map.SaveBankMemory(2), 0);
    ASSERT_EQ(map.SetPower(0x11), 0);
    ASSERT_EQ(map.SaveBankMemory(3), 0);
    ASSERT_EQ(map.SetVenderName("OTHER"), 0);

    ASSERT_EQ(map.LoadBankMemory(2), 0);
    std::uint8_t power = 0;
    EXPECT_EQ(map.GetPower(&power), 0);
    EXPECT_EQ(power, 0x55);
    char vendor[kIdTextSize] = {};
    EXPECT_EQ(map.GetVenderName(vendor), 0);
    EXPECT_STREQ(vendor, "OTHER") << "a bank holds settings, not the identity";

    // Reset brings a bank and the camera back to the power-on values; other banks keep theirs.
    ASSERT_EQ(map.ResetBankMemory(2), 0);
    EXPECT_EQ(map.GetPower(&power), 0);
    EXPECT_EQ(power, factory);
    ASSERT_EQ(map.LoadBankMemory(2), 0);
    EXPECT_EQ(map.GetPower(&power), 0);
    EXPECT_EQ(power, factory);
    ASSERT_EQ(map.LoadBankMemory(3), 0);
    EXPECT_EQ(map.GetPower(&power), 0);
    EXPECT_EQ(power, 0x11);

    ASSERT_EQ(map.ResetBankMemory(255), 0);
    ASSERT_EQ(map.LoadBankMemory(3), 0);
    EXPECT_EQ(map.GetPower(&power), 0);
    EXPECT_EQ(power, factory);
}

TEST_F(RV1240Sim, RegisterUpdateRunsARequestedCalibration)
{
    std::uint8_t count = 0;
    ASSERT_EQ(map.GetAfeBlkCalibrationCount(&count), 0);
    ASSERT_EQ(map.SetAfeCalStatus(0x00), 0);
    ASSERT_EQ(map.SetAfeCalControl(0x82), 0);
    ASSERT_EQ(map.SetRegisterUpdate(1), 0);

    std::uint8_t value = 0;
    EXPECT_EQ(map.GetAfeCalControl(&value), 0);
    EXPECT_EQ(value, 0x80) << "the request bits clear, the others stay";
    EXPECT_EQ(map.GetAfeCalStatus(&value), 0);
    EXPECT_EQ(value & 0x01, 1);
    EXPECT_EQ(map.GetAfeBlkCalibrationCount(&value), 0);
    EXPECT_EQ(value, count + 1);
    EXPECT_EQ(camera.Get(0x6E), 0) << "the command register clears when done";

    // Without a request the update changes nothing else.
    ASSERT_EQ(map.RegisterUpdateExecute(), 0);
    EXPECT_EQ(map.GetAfeBlkCalibrationCount(&value), 0);
    EXPECT_EQ(value, count + 1);
}

TEST_F(RV1250Sim, PowerOnValuesFitThePages)
{
    std::uint16_t speed = 0;
    EXPECT_EQ(map.GetShutterSpeed(&speed), 0);
    EXPECT_EQ(speed, 625) << "an entry of the shutter page's list";
    std::uint16_t gain = 0;
    EXPECT_EQ(map.GetOutLevelGain(&gain), 0);
    EXPECT_LE(gain, 511);
    EXPECT_GT(gain, 0);
    std::uint8_t clamp = 0;
    EXPECT_EQ(map.GetOutLevelOffset(&clamp), 0);
    EXPECT_GT(clamp, 0);
}

TEST_F(ColourSim, VersionTextsAndPowerOnValues)
{
    char cpu[kShortVersionSize] = {};
    char fpga[kShortVersionSize] = {};
    EXPECT_EQ(map.GetShortCpuVersion(cpu), 0);
    EXPECT_EQ(map.GetFpgaVersion(fpga), 0);
    EXPECT_EQ(std::strlen(cpu), 8u);
    EXPECT_GT(std::strlen(fpga), 0u);
    char whole[kIdTextSize] = {};
    EXPECT_EQ(map.GetCpuVersion(whole), 0);
    EXPECT_EQ(std::string(whole), std::string(cpu) + fpga) << "the FPGA text follows at 0x38";

    std::uint16_t value = 0;
    EXPECT_EQ(map.GetShutterSpeed(&value), 0);
    EXPECT_EQ(value, 624);
    EXPECT_EQ(map.GetPartialHeight(&value), 0);
    EXPECT_EQ(value, 1236);
    std::uint8_t temp = 0;
    EXPECT_EQ(map.GetWbColorTemp(&temp), 0);
    EXPECT_EQ(temp, 55);
    std::uint8_t offset = 0;
    EXPECT_EQ(map.GetOutLevelOffset(&offset), 0);
    EXPECT_LE(offset, 31) << "the colour page's range";

    // Each colour temperature has its own gains, red rising with the temperature.
    std::uint16_t r3000 = 0;
    std::uint16_t r6500 = 0;
    std::uint16_t b3000 = 0;
    std::uint16_t b6500 = 0;
    EXPECT_EQ(map.GetRGain3000K(&r3000), 0);
    EXPECT_EQ(map.GetRGain6500K(&r6500), 0);
    EXPECT_EQ(map.GetBGain3000K(&b3000), 0);
    EXPECT_EQ(map.GetBGain6500K(&b6500), 0);
    EXPECT_LT(r3000, r6500);
    EXPECT_GT(b3000, b6500);
}

TEST_F(ColourSim, OnePushWhiteBalanceSetsTheUserGains)
{
    std::uint16_t r = 0;
    std::uint16_t b = 0;
    ASSERT_EQ(map.GetRGain(&r), 0);
    ASSERT_EQ(map.GetBGain(&b), 0);
    camera.Set(0x79, 0xF8); // bits of the high register beyond the gain stay
    ASSERT_EQ(map.SetOpwb(1), 0);
    std::uint16_t r2 = 0;
    std::uint16_t b2 = 0;
    EXPECT_EQ(map.GetRGain(&r2), 0);
    EXPECT_EQ(map.GetBGain(&b2), 0);
    EXPECT_NE(r2, r);
    EXPECT_NE(b2, b);
    EXPECT_LE(r2, 1535);
    EXPECT_LE(b2, 1535);
    EXPECT_EQ(camera.Get(0x79) & 0xF8, 0xF8);
    std::uint8_t temp = 0;
    EXPECT_EQ(map.GetWbColorTemp(&temp), 0);
    EXPECT_EQ(temp, 255) << "the result is held as the user gains";
    EXPECT_EQ(camera.Get(0x77), 0);
}

TEST_F(ColourSim, AutoBlackBalanceSetsOffsetsAndGrGbGains)
{
    const auto before = camera.Registers();
    ASSERT_EQ(map.SetAbb(1), 0);
    std::uint8_t offsets[4] = {};
    EXPECT_EQ(map.GetGrOffset(&offsets[0]), 0);
    EXPECT_EQ(map.GetGbOffset(&offsets[1]), 0);
    EXPECT_EQ(map.GetROffset(&offsets[2]), 0);
    EXPECT_EQ(map.GetBOffset(&offsets[3]), 0);
    bool changed = false;
    for (int i = 0; i < 4; ++i)
        changed = changed || offsets[i] != before[0xD0 + i];
    EXPECT_TRUE(changed);
    std::uint16_t gr = 0;
    std::uint16_t gb = 0;
    EXPECT_EQ(map.GetGrGain(&gr), 0);
    EXPECT_EQ(map.GetGbGain(&gb), 0);
    EXPECT_NEAR(gr, 0x200, 0x20);
    EXPECT_NEAR(gb, 0x200, 0x20);
    EXPECT_EQ(camera.Get(0xE9), 0);
}

TEST_F(MonoSim, NoColourProcessing)
{
    const auto before = camera.Registers();
    ASSERT_EQ(map.SetOpwb(1), 0);
    ASSERT_EQ(map.SetAbb(1), 0);
    auto after = camera.Registers();
    after[0x77] = before[0x77];
    after[0xE9] = before[0xE9];
    EXPECT_EQ(after, before) << "the monochrome model has no white or black balance";
    char text[kIdTextSize] = {};
    EXPECT_EQ(map.GetModelName(text), 0);
    EXPECT_STREQ(text, "RVQM52BM14");
}
