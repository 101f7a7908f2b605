// What the RV1250LX pages do differently from the other models: the 11-bit shutter speed beside
// plain register access with a kept bit that has no box, four self-check boxes out of eight
// error bits, and a 9-bit gain bar.
#include "pages/rv1250/Cmd50SelfChk.h"
#include "pages/rv1250/Cmd50Shatter.h"
#include "pages/rv1250/Cmd50UsrGain.h"
#include "platform/ui/ScrollBar.h"
#include "res/ids/Rv1250.h"
#include "tests/pages/PageFixture.h"

#include <cstdint>

using namespace page_test;
using Frames = std::vector<std::string>;

namespace {

class Rv1250Pages : public PageFixture {
protected:
    Rv1250Pages() : PageFixture(camsim::Model::RV1250LX) {}

    void SetSpeed(int speed)
    {
        camera.Set(0x69, static_cast<std::uint8_t>(speed >> 8));
        camera.Set(0x68, static_cast<std::uint8_t>(speed & 0xFF));
    }
    int Speed() const { return (camera.Get(0x69) & 0x07) << 8 | camera.Get(0x68); }
};

TEST_F(Rv1250Pages, ShutterReadsAndWritesInOrderAndKeepsBitOneOf66)
{
    struct Case {
        const char* what;
        std::uint8_t md1; // 0x66 in the camera
        int click;        // a box the user clicks before Apply, or 0
        std::uint8_t md1Written;
    };
    const Case cases[] = {
        {"bit 1 kept without a box", 0x02, 0, 0x02},
        {"multiple switched on beside it", 0x02, IDC_50SHUT_MULTIPLE, 0x03},
        {"multiple switched off, bit 1 stays clear", 0xFD, IDC_50SHUT_MULTIPLE, 0xFC},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CCmd50Shatter page(&theApp.m_pReg1250);
        Create(page);
        SetSpeed(625);
        camera.Set(0x66, c.md1);
        camera.Set(0x6A, 0xF2);
        camera.Set(0x6B, 0x80);
        camera.Set(0x70, 0x41);
        camera.Set(0x81, 0x10);
        camera.Set(0x90, 0xA3); // bit depth 3: no button chosen, written back as it was
        Fresh();
        page.ShowWindow(true);
        EXPECT_EQ(Sent(), (Frames{"69RQ", "68RQ", "66RQ", "6ARQ", "6BRQ", "70RQ", "81RQ", "90RQ"}));
        ASSERT_EQ(SeqLines().size(), 1u) << "plain register reads log nothing";
        EXPECT_EQ(SeqLines()[0].rfind("\tGet Shutter Speed, ", 0), 0u) << SeqLines()[0];
        EXPECT_EQ(page.GetComboBox(IDC_50SHUT_SPEED).GetCurSel(), 2) << "625";
        EXPECT_EQ(page.IsDlgButtonChecked(IDC_50SHUT_POSI), 1);
        EXPECT_EQ(page.IsDlgButtonChecked(IDC_50SHUT_RANDOM), 0);

        if (c.click)
            Click(page, c.click);
        Fresh();
        Click(page, IDC_50SHUT_APPLY);
        EXPECT_EQ(Writes(), (Frames{WriteFrame(0x69, 0x02), WriteFrame(0x68, 0x71),
                                    WriteFrame(0x66, c.md1Written), WriteFrame(0x6A, 0xF2),
                                    WriteFrame(0x6B, 0x80), WriteFrame(0x70, 0x41),
                                    WriteFrame(0x81, 0x10), WriteFrame(0x90, 0xA3)}));
        ASSERT_EQ(SeqLines().size(), 1u) << "only the speed has a named line";
        EXPECT_EQ(SeqLines()[0].rfind("\tSet Shutter  Speed, ", 0), 0u) << SeqLines()[0];

        // Unlike the RV1240DLX page, hiding reads nothing.
        Fresh();
        page.ShowWindow(false);
        EXPECT_TRUE(Sent().empty());
    }
}

TEST_F(Rv1250Pages, ShutterApplyWritesTheStoredSpeedNotTheListText)
{
    struct Case {
        int cameraSpeed;
        int choose;   // list item the user picks after the page was shown, or -1
        int selected; // list item current afterwards
        int written;
    };
    const Case cases[] = {
        {1000, -1, 1, 1000}, // not in the list: the list keeps "1250", Apply writes 1000
        {625, -1, 2, 625},   {0, -1, 8, 0}, {1000, 0, 0, 2047}, {2047, 8, 8, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "speed " << c.cameraSpeed << " choice " << c.choose);
        CCmd50Shatter page(&theApp.m_pReg1250);
        Create(page);
        page.GetComboBox(IDC_50SHUT_SPEED).SetCurSel(1);
        SetSpeed(c.cameraSpeed);
        page.ShowWindow(true);
        EXPECT_EQ(page.m_wShutterSpeed, c.cameraSpeed);
        if (c.choose >= 0)
            Choose(page, IDC_50SHUT_SPEED, c.choose);
        EXPECT_EQ(page.GetComboBox(IDC_50SHUT_SPEED).GetCurSel(), c.selected);
        SetSpeed(1); // so that Apply must write every bit
        Click(page, IDC_50SHUT_APPLY);
        EXPECT_EQ(Speed(), c.written);
    }
}

TEST_F(Rv1250Pages, SelfCheckShowsBitsSevenFiveThreeAndTwoOnly)
{
    struct Case {
        std::uint8_t mode;
        int initialize, uart, i2c, eeprom;
    };
    const Case cases[] = {
        {0x50, 0, 0, 0, 0}, // bits 6 and 4 have no box
        {0x53, 0, 0, 0, 0}, // nor have bits 1 and 0
        {0xAC, 1, 1, 1, 1}, {0xA0, 1, 1, 0, 0}, {0x0C, 0, 0, 1, 1},
        {0xFF, 1, 1, 1, 1}, {0x00, 0, 0, 0, 0},
    };
    CCmd50SelfChk page(&theApp.m_pReg1250);
    Create(page);
    camera.Set(0x41, 0x3C);
    camera.Set(0x95, 0x00);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "error mode 0x" << std::hex << int(c.mode));
        camera.Set(0x40, c.mode);
        Click(page, IDC_50CHK_REFRESH);
        EXPECT_EQ(page.IsDlgButtonChecked(IDC_50CHK_INITIALIZE), c.initialize);
        EXPECT_EQ(page.IsDlgButtonChecked(IDC_50CHK_UART), c.uart);
        EXPECT_EQ(page.IsDlgButtonChecked(IDC_50CHK_I2C), c.i2c);
        EXPECT_EQ(page.IsDlgButtonChecked(IDC_50CHK_EEPROM), c.eeprom);
    }
    EXPECT_EQ(page.GetDlgItemText(IDC_50CHK_STATUS), "3c");
    EXPECT_EQ(page.GetDlgItemText(IDC_50CHK_STATUS2), "0");
    EXPECT_EQ(page.GetDlgItemText(IDC_50CHK_SPARE), "");
}

TEST_F(Rv1250Pages, UserGainBarsClampAndApplyWritesClampLevelAndNineBitGain)
{
    struct Case {
        const char* what;
        std::uint8_t r62, r65, r64; // camera before Refresh
        int bar, code, pos;
        int value;       // the bar's page value after the scroll
        const char* hex; // its read-out
        Frames writes;   // by Apply
    };
    const Case cases[] = {
        {"gain right arrow at 511",
         0x00,
         0x81,
         0xFF,
         IDC_50GAIN_GAIN_BAR,
         ui::SB_LINERIGHT,
         0,
         511,
         "1ff",
         {"6200", "6581", "64FF"}},
        {"gain left arrow across bit 8",
         0x00,
         0x01,
         0x00,
         IDC_50GAIN_GAIN_BAR,
         ui::SB_LINELEFT,
         0,
         255,
         "ff",
         {"6200", "6500", "64FF"}},
        {"gain thumb released beyond the range",
         0x00,
         0x00,
         0x10,
         IDC_50GAIN_GAIN_BAR,
         ui::SB_THUMBPOSITION,
         600,
         511,
         "1ff",
         {"6200", "6501", "64FF"}},
        {"clamp right arrow at 31 keeps the top bits of 0x62",
         0xFF,
         0x00,
         0x00,
         IDC_50GAIN_CLAMP_BAR,
         ui::SB_LINERIGHT,
         0,
         31,
         "1f",
         {"62FF", "6500", "6400"}},
        {"clamp page right stops at 31",
         0x19,
         0x00,
         0x00,
         IDC_50GAIN_CLAMP_BAR,
         ui::SB_PAGERIGHT,
         0,
         31,
         "1f",
         {"621F", "6500", "6400"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CCmd50UsrGain page(&theApp.m_pReg1250);
        Create(page);
        camera.Set(0x62, c.r62);
        camera.Set(0x65, c.r65);
        camera.Set(0x64, c.r64);
        page.ShowWindow(true);
        Fresh();
        Scroll(page, c.bar, c.code, c.pos);
        EXPECT_EQ(page.BarValue(c.bar), c.value);
        const int readout =
            c.bar == IDC_50GAIN_GAIN_BAR ? IDC_50GAIN_GAIN_HEX : IDC_50GAIN_CLAMP_HEX;
        EXPECT_EQ(page.GetDlgItemText(readout), c.hex);
        EXPECT_TRUE(Sent().empty()) << "a scroll writes nothing";
        Click(page, IDC_50GAIN_APPLY);
        EXPECT_EQ(Writes(), c.writes);
    }
}

TEST_F(Rv1250Pages, UserGainFailedGainReadShowsNoGainAndWritesOnlyTheClamp)
{
    CCmd50UsrGain page(&theApp.m_pReg1250);
    Create(page);
    camera.Set(0x65, 0x01);
    camera.Set(0x64, 0x2C);
    page.ShowWindow(true);
    EXPECT_EQ(page.m_wGain, 300);

    link.refuse.insert("65RQ");
    Click(page, IDC_50GAIN_REFRESH);
    EXPECT_EQ(page.GetDlgItemText(IDC_50GAIN_GAIN_HEX), pages::kNotReadText)
        << "a failed read shows neither the last gain nor 0";
    EXPECT_FALSE(page.GetScrollBar(IDC_50GAIN_GAIN_BAR).IsWindowEnabled());
    EXPECT_TRUE(page.GetScrollBar(IDC_50GAIN_CLAMP_BAR).IsWindowEnabled());
    Fresh();
    Click(page, IDC_50GAIN_APPLY);
    ASSERT_EQ(Writes().size(), 1u) << "the gain that was not read is not written";
}

} // namespace
