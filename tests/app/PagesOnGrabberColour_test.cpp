// The whole program on the simulated frame grabber's RVQM52CM14 port: the partial page shows the
// camera's window and its timing and writes it back; the colour page in manual mode with "USER"
// writes 255 and both gains.
#include "app/LogDlg.h"
#include "app/VireoView.h"
#include "platform/ui/ScrollBar.h"
#include "res/Resource.h"
#include "res/ids/Rvqm52.h"
#include "tests/app/GrabberStartup.h"
#include "tests/support/TestEnvironment.h"

#include <QTabBar>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

bool Logged(const std::string& log, std::size_t from, const std::string& text)
{
    return log.find(text, from) != std::string::npos;
}

} // namespace

TEST(PagesOnGrabberColour, PartialAndColourPagesReadAndWriteTheColourCamera)
{
    testing_support::ScopedSettingsDir settings;
    setenv("CLALLSERIAL_LIBRARY", CLSIM_PATH, 1);
    CVireoView* view = testing_support::StartOnGrabberPort(3);
    CLogDlg* log = testing_support::LogWindow();
    ASSERT_NE(view, nullptr);
    ASSERT_NE(log, nullptr);

    testing_support::ChooseModel(*view, "RVQM52CM14");
    ui::TabCtrl tabs = view->GetTabCtrl(IDC_TAB_RVQM52C);
    ASSERT_EQ(tabs.GetItemCount(), 8);
    EXPECT_EQ(tabs.Widget()->GetItemText(tabs.GetCurSel()), "Register");

    // "Partial": the camera's full frame and its timing, then a new V start.
    tabs.Widget()->Bar()->setCurrentIndex(4);
    CCmd52CPartial& partial = view->m_cmd52CPartial;
    ASSERT_TRUE(partial.isVisible());
    EXPECT_EQ(partial.GetDlgItemText(IDC_52CPART_HEIGHT_DEC), "1236");
    EXPECT_EQ(partial.GetDlgItemText(IDC_52CPART_BP), "2");
    EXPECT_EQ(partial.GetDlgItemText(IDC_52CPART_FPS), "30.193237");
    partial.GetScrollBar(IDC_52CPART_VSTART_BAR).Widget()->Simulate(ui::SB_THUMBPOSITION, 101);
    EXPECT_EQ(partial.BarValue(IDC_52CPART_VSTART_BAR), 100) << "V start lines come in pairs";
    EXPECT_EQ(partial.GetDlgItemText(IDC_52CPART_BP), "15");
    EXPECT_EQ(partial.GetDlgItemText(IDC_52CPART_FP), "-11");
    EXPECT_EQ(partial.GetDlgItemText(IDC_52CPART_MAXHEIGHT), "1136");
    std::size_t from = log->m_tabSeq.Text().size();
    partial.GetButton(IDC_52CPART_APPLY).Click();
    const std::string seq = log->m_tabSeq.Text();
    EXPECT_TRUE(Logged(seq, from, "Set Partial V Start")) << seq.substr(from);
    EXPECT_TRUE(Logged(seq, from, "Set Partial Height")) << seq.substr(from);
    partial.GetScrollBar(IDC_52CPART_VSTART_BAR).Widget()->Simulate(ui::SB_THUMBPOSITION, 0);
    partial.GetButton(IDC_52CPART_REFRESH).Click();
    EXPECT_EQ(partial.BarValue(IDC_52CPART_VSTART_BAR), 100) << "the camera kept the new start";

    // "Color": manual white balance with "USER" writes 255, then both gains.
    tabs.Widget()->Bar()->setCurrentIndex(5);
    CCmd52CColor& colour = view->m_cmd52CColor;
    ASSERT_TRUE(colour.isVisible());
    colour.GetButton(IDC_52COL_MANUAL).Click();
    ui::ComboBox temps = colour.GetComboBox(IDC_52COL_TEMP);
    temps.Widget()->setCurrentIndex(temps.FindStringExact(-1, "USER"));
    colour.GetScrollBar(IDC_52COL_R_BAR).Widget()->Simulate(ui::SB_THUMBPOSITION, 300);
    colour.GetScrollBar(IDC_52COL_B_BAR).Widget()->Simulate(ui::SB_THUMBPOSITION, 400);
    from = log->m_tabComm.Text().size();
    colour.GetButton(IDC_52COL_APPLY).Click();
    const std::string comm = log->m_tabComm.Text();
    const std::size_t user = comm.find("SEND: [STX]75FF[ETX]", from);
    EXPECT_NE(user, std::string::npos) << comm.substr(from);
    // 300 = 0x12C and 400 = 0x190: the low bytes go last, after the colour temperature.
    EXPECT_TRUE(Logged(comm, user, "SEND: [STX]782C[ETX]")) << comm.substr(from);
    EXPECT_TRUE(Logged(comm, user, "SEND: [STX]7A90[ETX]")) << comm.substr(from);
    colour.GetScrollBar(IDC_52COL_R_BAR).Widget()->Simulate(ui::SB_THUMBPOSITION, 0);
    colour.GetButton(IDC_52COL_REFRESH).Click();
    EXPECT_EQ(colour.BarValue(IDC_52COL_R_BAR), 300);
    EXPECT_EQ(colour.BarValue(IDC_52COL_B_BAR), 400);
    EXPECT_EQ(temps.GetLBText(temps.GetCurSel()), "USER");

    testing_support::CloseProgram();
}
