// What every page shares: stepping and clamping of scroll bars, read-out formats, the shutter
// list rule and the register status texts.
#include "pages/Readout.h"
#include "pages/common/RegisterStatus.h"
#include "pages/rv1240/Cmd40UsrGain.h"
#include "platform/ui/ScrollBar.h"
#include "res/ids/Rv1240.h"
#include "tests/pages/PageFixture.h"

using namespace page_test;
using pages::ReadoutFormat;

namespace {

class ScrollRules : public PageFixture {
protected:
    ScrollRules() : PageFixture(camsim::Model::RV1240DLX) {}
};

TEST_F(ScrollRules, StepsAndClampsEveryNotificationAndWritesNothing)
{
    struct Case {
        int bar;
        int start;
        int code;
        int pos;
        int expected;
    };
    const Case cases[] = {
        {IDC_40GAIN_GAIN_BAR, 100, ui::SB_LINERIGHT, 0, 101},
        {IDC_40GAIN_GAIN_BAR, 100, ui::SB_LINELEFT, 0, 99},
        {IDC_40GAIN_GAIN_BAR, 100, ui::SB_PAGERIGHT, 0, 110},
        {IDC_40GAIN_GAIN_BAR, 100, ui::SB_PAGELEFT, 0, 90},
        {IDC_40GAIN_GAIN_BAR, 100, ui::SB_THUMBPOSITION, 37, 37},
        {IDC_40GAIN_GAIN_BAR, 100, ui::SB_THUMBTRACK, 37, 100}, // dragging changes nothing
        {IDC_40GAIN_GAIN_BAR, 100, ui::SB_LEFT, 0, 100},
        {IDC_40GAIN_GAIN_BAR, 100, ui::SB_ENDSCROLL, 0, 100},
        {IDC_40GAIN_GAIN_BAR, 255, ui::SB_LINERIGHT, 0, 255}, // right arrow at the maximum
        {IDC_40GAIN_GAIN_BAR, 250, ui::SB_PAGERIGHT, 0, 255},
        {IDC_40GAIN_GAIN_BAR, 5, ui::SB_PAGELEFT, 0, 0},
        {IDC_40GAIN_OFFSET_BAR, -512, ui::SB_LINELEFT, 0, -512}, // left arrow at the minimum
        {IDC_40GAIN_OFFSET_BAR, 0, ui::SB_THUMBPOSITION, -600, -512},
        {IDC_40GAIN_OFFSET_BAR, -3, ui::SB_LINERIGHT, 0, -2},
    };
    CCmd40UsrGain page(&theApp.m_pReg1240);
    Create(page);
    Click(page, IDC_40GAIN_REFRESH);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "bar " << c.bar << " from " << c.start << " code " << c.code);
        page.GetScrollBar(c.bar).SetScrollPos(c.start);
        Fresh();
        Scroll(page, c.bar, c.code, c.pos);
        EXPECT_EQ(page.BarValue(c.bar), c.expected);
        EXPECT_EQ(page.GetScrollBar(c.bar).GetScrollPos(), c.expected);
        EXPECT_TRUE(Sent().empty()) << "a scroll writes nothing";
    }
    // The read-outs follow the value.
    page.GetScrollBar(IDC_40GAIN_GAIN_BAR).SetScrollPos(0);
    Scroll(page, IDC_40GAIN_GAIN_BAR, ui::SB_THUMBPOSITION, 0xAB);
    EXPECT_EQ(page.GetDlgItemText(IDC_40GAIN_GAIN_HEX), "ab");
    Scroll(page, IDC_40GAIN_OFFSET_BAR, ui::SB_THUMBPOSITION, -300);
    EXPECT_EQ(page.GetDlgItemText(IDC_40GAIN_OFFSET_DEC), "-300");
}

TEST(Readouts, FormatsAsThePagesShowThem)
{
    struct Case {
        pages::Readout readout;
        int value;
        const char* text;
    };
    const Case cases[] = {
        {{0, ReadoutFormat::Hex}, 300, "12c"},
        {{0, ReadoutFormat::Hex}, 0, "0"},
        {{0, ReadoutFormat::Dec}, -512, "-512"},
        {{0, ReadoutFormat::Real, 0.09375}, 150, "14.062500"},
        {{0, ReadoutFormat::Real, 0.09375}, 0, "0.000000"},
        {{0, ReadoutFormat::ScaledDec, 2.08}, 255, "530"}, // 530.4 truncated
        {{0, ReadoutFormat::ScaledDec, 2.08}, 50, "104"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(pages::FormatReadout(c.readout, c.value), c.text) << c.value;
}

TEST(RegisterStatus, TextsOfTheListedCodesAndNothingElse)
{
    const std::pair<int, const char*> cases[] = {
        {0, "ACK"},
        {1, "NAK"},
        {2, "Invalid recieve data"},
        {3, "Invalid register address"},
        {4, "Invalid parameters"},
        {5, "Userfile open fail"},
        {6, "Check Sum error"},
        {7, ""},
        {256, "RS232C Timeout"},
        {262, "RS232C Buffer overflow"},
        {263, ""},
        {-10098, ""},
    };
    for (const auto& [code, text] : cases)
        EXPECT_EQ(pages::RegisterStatusText(code), text) << code;
}

TEST(ParseDecimal, ReadsListTextsAsTheShutterHandlerDoes)
{
    const std::pair<const char*, long long> cases[] = {
        {"2047", 2047},
        {"  -1", -1},
        {"+12abc", 12},
        {"abc", 0},
        {"", 0},
        {"99999999999999999999", 9223372036854775807LL},
        {"-99999999999999999999", -9223372036854775807LL - 1},
    };
    for (const auto& [text, value] : cases)
        EXPECT_EQ(pages::ParseDecimal(text), value) << text;
}

} // namespace
