// The RVQM52BM14 and RVQM52CM14 pages against a simulated camera: what Refresh shows, the frames
// Apply sends (bits the page does not own go back as read), the timing read-outs of the partial
// pages, the colour page's three ways of applying, and the colour partial page's even steps.
#include "app/VireoView.h"
#include "pages/rvqm52/Cmd52BInfo.h"
#include "pages/rvqm52/Cmd52BPartial.h"
#include "pages/rvqm52/Cmd52BSelfChk.h"
#include "pages/rvqm52/Cmd52BShatter.h"
#include "pages/rvqm52/Cmd52BUsrGain.h"
#include "pages/rvqm52/Cmd52CColor.h"
#include "pages/rvqm52/Cmd52CPartial.h"
#include "pages/rvqm52/Cmd52CUsrGain.h"
#include "pages/rvqm52/PartialTiming.h"
#include "platform/ui/ScrollBar.h"
#include "res/Resource.h"
#include "res/ids/Rvqm52.h"
#include "tests/pages/PageFixture.h"

#include <algorithm>
#include <cstdio>

using namespace page_test;
using Frames = std::vector<std::string>;

namespace {

TEST(PartialTiming, WorkedExamplesAndTheBarsEnds)
{
    struct Case {
        int s, h, t;
        int bp, fp;
        const char* fps;
        int maxHeight, exposure;
    };
    const Case cases[] = {
        {0, 1236, 0, 2, 1, "30.193237", 1236, 65934},
        {1186, 1236, 2047, 151, -147, "30.168946", 50, 18}, // start + height past the sensor
        {1186, 50, 1, 151, 1, "182.926829", 50, 23904},
        {100, 600, 624, 15, 68, "54.664723", 1136, 60},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "S " << c.s << " H " << c.h << " T " << c.t);
        const pages::PartialTiming t = pages::ComputePartialTiming(c.s, c.h, c.t);
        EXPECT_EQ(t.backPorch, c.bp);
        EXPECT_EQ(t.active, c.h);
        EXPECT_EQ(t.frontPorch, c.fp);
        char fps[32];
        std::snprintf(fps, sizeof fps, "%f", t.frameRate);
        EXPECT_STREQ(fps, c.fps);
        EXPECT_EQ(t.maxHeight, c.maxHeight);
        EXPECT_EQ(t.exposure, c.exposure);
    }
}

class MonoPages : public PageFixture {
protected:
    MonoPages() : PageFixture(camsim::Model::RVQM52BM14) {}
};

TEST_F(MonoPages, InfoAndSelfCheckShowWhatTheCameraHolds)
{
    camera.Set(0x40, 0xA4); // Initialize, UART and EEPROM; I2C clear
    camera.Set(0x41, 0x3C);
    camera.Set(0x95, 0x0B);
    CCmd52BInfo info(&theApp.m_pRegQM52);
    CCmd52BSelfChk selfChk(&theApp.m_pRegQM52);
    Create(info);
    Create(selfChk);
    info.ShowWindow(true);
    selfChk.ShowWindow(true);

    EXPECT_EQ(info.GetDlgItemText(IDC_52INFO_VENDOR), "KORVALIS");
    EXPECT_EQ(info.GetDlgItemText(IDC_52INFO_MODEL), "RVQM52BM14");
    EXPECT_EQ(info.GetDlgItemText(IDC_52INFO_SERIAL), "5210088");
    EXPECT_EQ(info.GetDlgItemText(IDC_52INFO_CPU), "CPU 3.01");
    EXPECT_EQ(info.GetDlgItemText(IDC_52INFO_FPGA), "FPGA1.04");

    const std::pair<int, int> boxes[] = {
        {IDC_52CHK_INITIALIZE, 1}, {IDC_52CHK_UART, 1}, {IDC_52CHK_I2C, 0}, {IDC_52CHK_EEPROM, 1}};
    for (const auto& [id, checked] : boxes)
        EXPECT_EQ(selfChk.IsDlgButtonChecked(id), checked) << id;
    EXPECT_EQ(selfChk.GetDlgItemText(IDC_52CHK_STATUS), "3c");
    EXPECT_EQ(selfChk.GetDlgItemText(IDC_52CHK_STATUS2), "b");
}

TEST_F(MonoPages, UserGainUnitsAtTheBarsEndsAndApply)
{
    CCmd52BUsrGain page(&theApp.m_pRegQM52);
    Create(page);
    page.ShowWindow(true);
    EXPECT_EQ(page.GetDlgItemText(IDC_52BGAIN_OFFSET_HEX), "80");
    EXPECT_EQ(page.GetDlgItemText(IDC_52BGAIN_OFFSET_LSB), "266"); // 128 x 2.08 = 266.24
    EXPECT_EQ(page.GetDlgItemText(IDC_52BGAIN_GAIN_DB), "3.000000");

    struct Case {
        int bar, pos;
        int hex, unit;
        const char* hexText;
        const char* unitText;
    };
    const Case cases[] = {
        {IDC_52BGAIN_OFFSET_BAR, 0, IDC_52BGAIN_OFFSET_HEX, IDC_52BGAIN_OFFSET_LSB, "32", "104"},
        {IDC_52BGAIN_OFFSET_BAR, 300, IDC_52BGAIN_OFFSET_HEX, IDC_52BGAIN_OFFSET_LSB, "ff", "530"},
        {IDC_52BGAIN_GAIN_BAR, 200, IDC_52BGAIN_GAIN_HEX, IDC_52BGAIN_GAIN_DB, "96", "14.062500"},
    };
    Fresh();
    for (const Case& c : cases) {
        Scroll(page, c.bar, ui::SB_THUMBPOSITION, c.pos);
        EXPECT_EQ(page.GetDlgItemText(c.hex), c.hexText) << c.pos;
        EXPECT_EQ(page.GetDlgItemText(c.unit), c.unitText) << c.pos;
    }
    EXPECT_TRUE(Sent().empty());
    Click(page, IDC_52BGAIN_APPLY);
    EXPECT_EQ(Writes(), (Frames{"62FF", "6496"}));
}

TEST_F(MonoPages, ShutterKeepsForeignBitsAndWritesInOrder)
{
    camera.Set(0x69, 0xF4); // speed 1250, not in the list; bits 7..3 foreign
    camera.Set(0x68, 0xE2);
    camera.Set(0x66, 0xF2); // bit 1 has no control and must survive
    camera.Set(0x6A, 0xE9); // Random on, Posi off, Restart Reset off
    camera.Set(0x6B, 0xFE);
    camera.Set(0x70, 0x80);
    camera.Set(0x81, 0x41);
    camera.Set(0x90, 0xA3); // bit depth 3: no radio chosen
    CCmd52BShatter page(&theApp.m_pRegQM52);
    Create(page);
    page.ShowWindow(true);
    EXPECT_EQ(page.m_wShutterSpeed, 1250);
    EXPECT_EQ(page.GetComboBox(IDC_52SHUT_SPEED).GetCurSel(), -1);
    EXPECT_EQ(page.IsDlgButtonChecked(IDC_52SHUT_RANDOM), 1);
    EXPECT_EQ(page.IsDlgButtonChecked(IDC_52SHUT_PARTIAL), 1);
    EXPECT_EQ(page.m_bits.bitDepth, -1);

    Click(page, IDC_52SHUT_RESTART);
    Click(page, IDC_52SHUT_POSI);
    Click(page, IDC_52SHUT_MULTIPLE);
    Fresh();
    Click(page, IDC_52SHUT_APPLY);
    EXPECT_EQ(Writes(), (Frames{"69F4", "68E2", "66F3", "6AFB", "6BFE", "7080", "8141", "90A3"}));

    // A list item replaces the speed; the 8bit radio sets bits 1..0 to 2.
    Choose(page, IDC_52SHUT_SPEED, 0);
    Click(page, IDC_52SHUT_8BIT);
    Fresh();
    Click(page, IDC_52SHUT_APPLY);
    const Frames writes = Writes();
    ASSERT_EQ(writes.size(), 8u);
    EXPECT_EQ(writes[0], "69F7");
    EXPECT_EQ(writes[1], "68FF");
    EXPECT_EQ(writes[7], "90A2");
}

TEST_F(MonoPages, PartialReadoutsFollowScrollsAndApplyWritesTheThreeValues)
{
    camera.Set(0x85, 0xA8); // foreign bits above the 11-bit field
    CCmd52BPartial page(&theApp.m_pRegQM52);
    Create(page);
    page.ShowWindow(true);
    const std::pair<int, const char*> shown[] = {
        {IDC_52BPART_VSTART_DEC, "0"},
        {IDC_52BPART_HEIGHT_HEX, "4d4"},
        {IDC_52BPART_HEIGHT_DEC, "1236"},
        {IDC_52BPART_SHUTTER_DEC, "624"},
        {IDC_52BPART_BP, "2"},
        {IDC_52BPART_ACT, "1236"},
        {IDC_52BPART_FP, "1"},
        {IDC_52BPART_FPS, "30.193237"},
        {IDC_52BPART_MAXHEIGHT, "1236"},
        {IDC_52BPART_EXPOSURE, "60"},
    };
    for (const auto& [id, text] : shown)
        EXPECT_EQ(page.GetDlgItemText(id), text) << id;

    Fresh();
    Scroll(page, IDC_52BPART_VSTART_BAR, ui::SB_THUMBPOSITION, 1186);
    Scroll(page, IDC_52BPART_SHUTTER_BAR, ui::SB_THUMBPOSITION, 2047);
    const std::pair<int, const char*> moved[] = {
        {IDC_52BPART_VSTART_HEX, "4a2"}, {IDC_52BPART_BP, "151"},
        {IDC_52BPART_FP, "-147"},        {IDC_52BPART_FPS, "30.168946"},
        {IDC_52BPART_MAXHEIGHT, "50"},   {IDC_52BPART_EXPOSURE, "18"},
    };
    for (const auto& [id, text] : moved)
        EXPECT_EQ(page.GetDlgItemText(id), text) << id;
    EXPECT_TRUE(Sent().empty()) << "scrolling writes nothing";

    Click(page, IDC_52BPART_APPLY);
    EXPECT_EQ(Sent(),
              (Frames{"85RQ", "85AC", "84A2", "89RQ", "8904", "88D4", "69RQ", "6907", "68FF"}));
}

class ColourPages : public PageFixture {
protected:
    ColourPages() : PageFixture(camsim::Model::RVQM52CM14) {}
};

TEST_F(ColourPages, ColorApplyStopsInOnePushAndWritesTheGainsOnlyForUser)
{
    struct Case {
        const char* name;
        std::uint8_t mode;
        std::uint8_t temp;
        bool clickOnePush;
        const char* tempText;
        Frames writes;
    };
    const Frames kSwitches = {"7D81", "7E41", "9220"};
    auto with = [](Frames head, const Frames& tail) {
        head.insert(head.end(), tail.begin(), tail.end());
        return head;
    };
    const Case cases[] = {
        {"one push", 0x81, 45, false, "4500K", with({"7481"}, kSwitches)},
        {"manual, listed temperature", 0x80, 45, false, "4500K",
         with(with({"7480"}, kSwitches), {"752D"})},
        {"manual, unlisted temperature reads as USER", 0x80, 50, false, "USER",
         with(with({"7480"}, kSwitches), {"75FF", "79FD", "7812", "7B03", "7A45"})},
        {"one push chosen by its radio", 0x80, 50, true, "USER", with({"7481"}, kSwitches)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        camera.Set(0x74, c.mode);
        camera.Set(0x75, c.temp);
        camera.Set(0x7D, 0x81);
        camera.Set(0x7E, 0x41);
        camera.Set(0x92, 0x20);
        camera.Set(0x79, 0xFD); // R gain 0x512
        camera.Set(0x78, 0x12);
        camera.Set(0x7B, 0x03); // B gain 0x345
        camera.Set(0x7A, 0x45);
        CCmd52CColor page(&theApp.m_pRegQM52);
        Create(page);
        page.ShowWindow(true);
        ui::ComboBox combo = page.GetComboBox(IDC_52COL_TEMP);
        EXPECT_EQ(combo.GetLBText(combo.GetCurSel()), c.tempText);
        EXPECT_EQ(page.IsDlgButtonChecked(IDC_52COL_MANUAL), c.mode & 1 ? 0 : 1);
        EXPECT_EQ(page.IsDlgButtonChecked(IDC_52COL_GAMMA), 1);
        EXPECT_EQ(page.IsDlgButtonChecked(IDC_52COL_FORMAT), 0);
        EXPECT_EQ(page.GetDlgItemText(IDC_52COL_R_HEX), "512");
        EXPECT_EQ(page.GetDlgItemText(IDC_52COL_B_DEC), "837");
        if (c.clickOnePush)
            Click(page, IDC_52COL_ONEPUSH);
        Fresh();
        Click(page, IDC_52COL_APPLY);
        EXPECT_EQ(Writes(), c.writes);
    }
}

TEST_F(ColourPages, GainBarsMoveOnlyWithUserChosen)
{
    camera.Set(0x74, 0x80); // manual
    camera.Set(0x75, 45);   // 4500K
    CCmd52CColor page(&theApp.m_pRegQM52);
    Create(page);
    page.ShowWindow(true);
    const int gainControls[] = {IDC_52COL_R_BAR, IDC_52COL_R_HEX, IDC_52COL_R_DEC,
                                IDC_52COL_B_BAR, IDC_52COL_B_HEX, IDC_52COL_B_DEC};
    struct Case {
        int index; // in the temperature list
        bool enabled;
    };
    const Case cases[] = {{0, false}, {3, false}, {5, false}, {6, true}, {2, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        Choose(page, IDC_52COL_TEMP, c.index);
        for (int id : gainControls)
            EXPECT_EQ(page.GetWindow(id).IsWindowEnabled(), c.enabled) << id;
    }
    // A scroll on a bar that would not be written moves nothing.
    const int before = page.BarValue(IDC_52COL_R_BAR);
    Scroll(page, IDC_52COL_R_BAR, ui::SB_PAGERIGHT);
    EXPECT_EQ(page.BarValue(IDC_52COL_R_BAR), before);
}

TEST_F(ColourPages, OnePushButtonWritesOpwbAndRereadsTheMode)
{
    camera.Set(0x74, 0x00);
    CCmd52CColor page(&theApp.m_pRegQM52);
    Create(page);
    page.ShowWindow(true);
    camera.Set(0x74, 0x01);
    Fresh();
    Click(page, IDC_52COL_OPWB);
    EXPECT_EQ(Sent(), (Frames{"7701", "74RQ"}));
    EXPECT_EQ(page.IsDlgButtonChecked(IDC_52COL_ONEPUSH), 1);
    EXPECT_EQ(page.m_byWbMode, 1);
}

TEST_F(ColourPages, PartialWindowBarsStepByTwoAndStayEven)
{
    struct Case {
        int bar, start, code, pos, expected;
    };
    const Case cases[] = {
        {IDC_52CPART_VSTART_BAR, 0, ui::SB_LINERIGHT, 0, 2},
        {IDC_52CPART_VSTART_BAR, 0, ui::SB_THUMBPOSITION, 101, 100},
        {IDC_52CPART_HEIGHT_BAR, 50, ui::SB_LINELEFT, 0, 50},
        {IDC_52CPART_HEIGHT_BAR, 51, ui::SB_LINELEFT, 0, 50}, // 49 made even, then clamped
        {IDC_52CPART_VSTART_BAR, 5, ui::SB_LINERIGHT, 0, 6},
        {IDC_52CPART_VSTART_BAR, 0, ui::SB_LINELEFT, 0, 0},
        {IDC_52CPART_VSTART_BAR, 1186, ui::SB_LINERIGHT, 0, 1186},
        {IDC_52CPART_HEIGHT_BAR, 100, ui::SB_PAGERIGHT, 0, 110},
        {IDC_52CPART_SHUTTER_BAR, 0, ui::SB_LINERIGHT, 0, 1}, // the shutter keeps steps of 1
        {IDC_52CPART_SHUTTER_BAR, 0, ui::SB_THUMBPOSITION, 101, 101},
    };
    CCmd52CPartial page(&theApp.m_pRegQM52);
    Create(page);
    page.ShowWindow(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "bar " << c.bar << " from " << c.start);
        page.GetScrollBar(c.bar).SetScrollPos(c.start);
        Scroll(page, c.bar, c.code, c.pos);
        EXPECT_EQ(page.BarValue(c.bar), c.expected);
    }
    // The timing follows: V start 100 leaves 1136 lines.
    Scroll(page, IDC_52CPART_VSTART_BAR, ui::SB_THUMBPOSITION, 100);
    EXPECT_EQ(page.GetDlgItemText(IDC_52CPART_MAXHEIGHT), "1136");
    EXPECT_EQ(page.GetDlgItemText(IDC_52CPART_VSTART_HEX), "64");
}

TEST_F(ColourPages, UserGainOffsetEndsAt31)
{
    CCmd52CUsrGain page(&theApp.m_pRegQM52);
    Create(page);
    page.ShowWindow(true);
    EXPECT_EQ(page.GetDlgItemText(IDC_52CGAIN_OFFSET_LSB), "16");
    Scroll(page, IDC_52CGAIN_OFFSET_BAR, ui::SB_THUMBPOSITION, 40);
    Scroll(page, IDC_52CGAIN_GAIN_BAR, ui::SB_PAGERIGHT);
    Scroll(page, IDC_52CGAIN_GAIN_BAR, ui::SB_THUMBPOSITION, 200);
    EXPECT_EQ(page.GetDlgItemText(IDC_52CGAIN_OFFSET_HEX), "1f");
    EXPECT_EQ(page.GetDlgItemText(IDC_52CGAIN_OFFSET_LSB), "31");
    EXPECT_EQ(page.GetDlgItemText(IDC_52CGAIN_GAIN_HEX), "4b");
    EXPECT_EQ(page.GetDlgItemText(IDC_52CGAIN_GAIN_DB), "7.031250");
    Fresh();
    Click(page, IDC_52CGAIN_APPLY);
    EXPECT_EQ(Writes(), (Frames{"621F", "644B"}));
}

TEST(Rvqm52Sets, TabsInTheirOrderOnTheirTemplates)
{
    CVireoView view;
    struct Expected {
        int model;
        std::vector<std::pair<const char*, int>> tabs; // caption and template, in tab order
    };
    const Expected sets[] = {
        {2,
         {{"Info", IDD_CMD52B_INFO},
          {"SelfCheck", IDD_CMD52B_SELFCHK},
          {"UserGain", IDD_CMD52B_USRGAIN},
          {"Shutter", IDD_CMD52B_SHATTER},
          {"Partial", IDD_CMD52B_PARTIAL},
          {"Memory", IDD_CMD52B_MEM},
          {"Register", IDD_CMD52B_REGISTER}}},
        {3,
         {{"Info", IDD_CMD52B_INFO},
          {"SelfCheck", IDD_CMD52B_SELFCHK},
          {"UserGain", IDD_CMD52C_USRGAIN},
          {"Shutter", IDD_CMD52B_SHATTER},
          {"Partial", IDD_CMD52C_PARTIAL},
          {"Color", IDD_CMD52C_COLOR},
          {"Memory", IDD_CMD52B_MEM},
          {"Register", IDD_CMD52B_REGISTER}}},
    };
    for (const Expected& e : sets) {
        std::vector<CVireoView::PageEntry> pages = view.Set(e.model).pages;
        ASSERT_EQ(pages.size(), e.tabs.size()) << e.model;
        std::sort(pages.begin(), pages.end(),
                  [](const auto& a, const auto& b) { return a.tabIndex < b.tabIndex; });
        for (std::size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(pages[i].tabIndex, static_cast<int>(i));
            EXPECT_STREQ(pages[i].caption, e.tabs[i].first);
            EXPECT_EQ(pages[i].page->TemplateId(), e.tabs[i].second);
        }
    }
    // The colour set has pages of its own, not the monochrome set's.
    EXPECT_NE(view.Set(2).pages[0].page, view.Set(3).pages[0].page);
}

} // namespace
