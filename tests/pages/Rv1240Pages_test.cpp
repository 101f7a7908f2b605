// The RV1240DLX pages against a simulated camera: what Refresh shows, which frames Apply sends
// and in which order, and the pages' own rules (bit depth, shutter list, register page codes,
// memory banks).
#include "pages/rv1240/Cmd40Info.h"
#include "pages/rv1240/Cmd40Mem.h"
#include "pages/rv1240/Cmd40Register.h"
#include "pages/rv1240/Cmd40SelfChk.h"
#include "pages/rv1240/Cmd40Shatter.h"
#include "pages/rv1240/Cmd40UsrGain.h"
#include "platform/ui/ScrollBar.h"
#include "platform/ui/StatusLine.h"
#include "res/ids/Rv1240.h"
#include "tests/pages/PageFixture.h"

#include <QAccessible>
#include <QApplication>
#include <QScrollBar>
#include <QTest>

#include <set>

using namespace page_test;

namespace {

class Rv1240Pages : public PageFixture {
protected:
    Rv1240Pages() : PageFixture(camsim::Model::RV1240DLX) {}
};

TEST_F(Rv1240Pages, InfoAndSelfCheckShowWhatTheCameraHolds)
{
    CCmd40Info info(&theApp.m_pReg1240);
    Create(info);
    info.ShowWindow(true);
    EXPECT_FALSE(info.GetDlgItemText(IDC_40INFO_VENDOR).empty());
    EXPECT_EQ(info.GetDlgItemText(IDC_40INFO_MODEL), "RV1240DLX");

    CCmd40SelfChk check(&theApp.m_pReg1240);
    Create(check);
    camera.Set(0x40, 0xA0); // "Initialize" and "UART" only
    camera.Set(0x41, 0x3C);
    camera.Set(0x95, 0x05);
    check.ShowWindow(true);
    const std::pair<int, int> boxes[] = {
        {IDC_40CHK_INITIALIZE, 1}, {IDC_40CHK_AFE, 0},    {IDC_40CHK_UART, 1}, {IDC_40CHK_PLD, 0},
        {IDC_40CHK_I2C, 0},        {IDC_40CHK_EEPROM, 0}, {IDC_40CHK_RAM, 0},  {IDC_40CHK_ROM, 0},
    };
    for (const auto& [id, checked] : boxes) {
        EXPECT_EQ(check.IsDlgButtonChecked(id), checked) << id;
        EXPECT_FALSE(check.GetWindow(id).IsWindowEnabled()) << "display only: " << id;
    }
    EXPECT_EQ(check.GetDlgItemText(IDC_40CHK_STATUS), "3c");
    EXPECT_EQ(check.GetDlgItemText(IDC_40CHK_STATUS2), "5");
    EXPECT_EQ(check.GetDlgItemText(IDC_40CHK_SPARE), "");
}

TEST_F(Rv1240Pages, UserGainRefreshesOnShowAndApplyWritesOffsetThenGain)
{
    // Offset -12 as a 10-bit field: high bits 0b11 in 0x63 (other bits kept), low byte 0xF4.
    camera.Set(0x63, 0xF3);
    camera.Set(0x62, 0xF4);
    camera.Set(0x64, 0x80);
    CCmd40UsrGain page(&theApp.m_pReg1240);
    Create(page);
    page.ShowWindow(true);
    EXPECT_EQ(page.BarValue(IDC_40GAIN_OFFSET_BAR), -12);
    EXPECT_EQ(page.GetDlgItemText(IDC_40GAIN_OFFSET_DEC), "-12");
    EXPECT_EQ(page.GetDlgItemText(IDC_40GAIN_GAIN_HEX), "80");
    int minimum = 0, maximum = 0;
    page.GetScrollBar(IDC_40GAIN_OFFSET_BAR).GetScrollRange(&minimum, &maximum);
    EXPECT_EQ(std::make_pair(minimum, maximum), std::make_pair(-512, 511));

    Scroll(page, IDC_40GAIN_GAIN_BAR, ui::SB_LINERIGHT);
    Scroll(page, IDC_40GAIN_OFFSET_BAR, ui::SB_THUMBPOSITION, 300);
    Fresh();
    Click(page, IDC_40GAIN_APPLY);
    // 300 = 0x12C: high bits 01 merged into 0x63, then the low byte, then the gain.
    EXPECT_EQ(Writes(), (std::vector<std::string>{"63F1", "622C", "6481"}));
    EXPECT_EQ(camera.Get(0x64), 0x81);

    // A show replaces a value chosen but not applied.
    Scroll(page, IDC_40GAIN_GAIN_BAR, ui::SB_PAGERIGHT);
    page.ShowWindow(false);
    page.ShowWindow(true);
    EXPECT_EQ(page.BarValue(IDC_40GAIN_GAIN_BAR), 0x81);
}

TEST_F(Rv1240Pages, ShutterApplyKeepsForeignBitsAndWritesInOrder)
{
    camera.Set(0x66, 0xF2); // shutter on, multiple off
    camera.Set(0x68, 85);
    camera.Set(0x6A, 0xE1); // random on, posi off
    camera.Set(0x6B, 0x80);
    camera.Set(0x70, 0x41);
    camera.Set(0x81, 0x20);
    camera.Set(0x90, 0x7D); // bit depth 1: "10bit"
    CCmd40Shatter page(&theApp.m_pReg1240);
    Create(page);
    page.ShowWindow(true);
    EXPECT_EQ(page.GetComboBox(IDC_40SHUT_SPEED).GetCurSel(), 4); // "85"
    EXPECT_EQ(page.IsDlgButtonChecked(IDC_40SHUT_10BIT), 1);
    EXPECT_EQ(page.IsDlgButtonChecked(IDC_40SHUT_SHUTTER), 1);
    EXPECT_EQ(page.IsDlgButtonChecked(IDC_40SHUT_RANDOM), 1);
    EXPECT_EQ(page.IsDlgButtonChecked(IDC_40SHUT_DRAFT), 1);

    // Apply right after a show writes back what was read.
    Fresh();
    Click(page, IDC_40SHUT_APPLY);
    EXPECT_EQ(Writes(),
              (std::vector<std::string>{"66F2", "6855", "6AE1", "6B80", "7041", "8120", "907D"}));

    // Every control changes its own bit only.
    Click(page, IDC_40SHUT_MULTIPLE);
    Click(page, IDC_40SHUT_SHUTTER);
    Click(page, IDC_40SHUT_POSI);
    Click(page, IDC_40SHUT_PULSE);
    Click(page, IDC_40SHUT_DRAFT);
    Click(page, IDC_40SHUT_PARTIAL);
    Click(page, IDC_40SHUT_8BIT);
    Choose(page, IDC_40SHUT_SPEED, 9); // "0"
    Fresh();
    Click(page, IDC_40SHUT_APPLY);
    EXPECT_EQ(Writes(),
              (std::vector<std::string>{"66F1", "6800", "6AE3", "6B81", "7040", "8121", "907E"}));
}

TEST_F(Rv1240Pages, ShutterReadsNothingOnHideAndKeepsBitDepthItCannotShow)
{
    camera.Set(0x90, 0x03); // a bit depth no button stands for
    camera.Set(0x68, 100);  // not in the list
    CCmd40Shatter page(&theApp.m_pReg1240);
    Create(page);
    page.ShowWindow(true);
    EXPECT_EQ(page.m_bits.bitDepth, -1);
    EXPECT_EQ(page.GetComboBox(IDC_40SHUT_SPEED).GetCurSel(), -1);
    Fresh();
    page.ShowWindow(false);
    EXPECT_TRUE(Sent().empty()) << "leaving the page reads nothing";
    page.ShowWindow(true);
    Fresh();
    Click(page, IDC_40SHUT_APPLY);
    ASSERT_EQ(Writes().size(), 7u);
    EXPECT_EQ(Writes()[1], "6864");
    EXPECT_EQ(Writes()[6], "9003");
}

TEST_F(Rv1240Pages, ShutterComboTakesListItemsAndTypedTextWithinItsRange)
{
    struct Case {
        const char* typed; // null: choose list item 1 ("223")
        int speed;         // the speed afterwards
        bool logged;       // the range line was written
    };
    const Case cases[] = {
        {"200", 200, false}, {"300", 200, true}, {"-1", 200, true},
        {"0", 0, false},     {"abc", 0, false},  {nullptr, 223, false},
    };
    CCmd40Shatter page(&theApp.m_pReg1240);
    Create(page);
    page.ShowWindow(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed ? c.typed : "list item 1");
        Fresh();
        if (c.typed)
            Type(page, IDC_40SHUT_SPEED, c.typed);
        else
            Choose(page, IDC_40SHUT_SPEED, 1);
        EXPECT_EQ(page.m_byShutterSpeed, c.speed);
        const std::vector<std::string> lines = SeqLines();
        const std::string rangeLine = "Shutter Speed isn't between 0\u3000and 255.\t";
        EXPECT_EQ(!lines.empty() && lines.back() == rangeLine, c.logged);
        EXPECT_TRUE(Sent().empty());
    }
    Fresh();
    Click(page, IDC_40SHUT_APPLY);
    EXPECT_EQ(Writes().at(1), "68DF");
}

TEST_F(Rv1240Pages, RegisterPageShowsOneStatusPerButton)
{
    struct Case {
        const char* address;
        const char* data;
        bool write;
        const char* status;
        const char* dataAfter; // the data box after a read
        std::vector<std::string> sent;
    };
    camera.Set(0x0A, 5);
    const Case cases[] = {
        {"0x1F", "ff", true, "ACK", nullptr, {"1FFF"}},
        {"1G", "01", true, "Invalid register address", nullptr, {}},
        {"", "01", true, "Invalid register address", nullptr, {}},
        {"10", "100", true, "Invalid parameters", nullptr, {}},
        {"10", "FFFFFFFF", true, "Invalid parameters", nullptr, {}},
        {"10", "", true, "Invalid parameters", nullptr, {}},
        {"301", "01", true, "Invalid register address", nullptr, {}},
        {"0A", "", false, "ACK", "05", {"0ARQ"}},
        {"301", "", false, "Invalid register address", "", {}},
        {"zz", "", false, "Invalid register address", nullptr, {}},
    };
    CCmd40Register page(&theApp.m_pReg1240);
    Create(page);
    Fresh();
    page.ShowWindow(true);
    EXPECT_TRUE(Sent().empty()) << "the register page reads nothing on show";
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.address << " " << c.data);
        page.SetDlgItemText(IDC_40REG_ADDRESS, c.address);
        page.SetDlgItemText(IDC_40REG_DATA, c.data);
        Fresh();
        Click(page, c.write ? IDC_40REG_WRITE : IDC_40REG_READ);
        EXPECT_EQ(page.GetDlgItemText(IDC_40REG_STATUS), c.status);
        if (c.dataAfter) {
            EXPECT_EQ(page.GetDlgItemText(IDC_40REG_DATA), c.dataAfter);
        }
        EXPECT_EQ(Sent(), c.sent);
    }
    EXPECT_EQ(camera.Get(0x1F), 0xFF);
}

TEST_F(Rv1240Pages, MemoryButtonsWaitForABankThenUseIt)
{
    CCmd40Mem page(&theApp.m_pReg1240);
    Create(page);
    page.ShowWindow(true);
    for (int id : {IDC_40MEM_SAVE, IDC_40MEM_LOAD, IDC_40MEM_RESET})
        EXPECT_FALSE(page.GetWindow(id).IsWindowEnabled()) << id;
    EXPECT_TRUE(Sent().empty());

    Click(page, IDC_40MEM_BANK2);
    for (int id : {IDC_40MEM_SAVE, IDC_40MEM_LOAD, IDC_40MEM_RESET})
        EXPECT_TRUE(page.GetWindow(id).IsWindowEnabled()) << id;
    testing_support::MessageBoxRecorder boxes;
    boxes.Answer(true);
    Fresh();
    Click(page, IDC_40MEM_SAVE);
    Click(page, IDC_40MEM_LOAD);
    Click(page, IDC_40MEM_RESET);
    EXPECT_EQ(Writes(), (std::vector<std::string>{"5102", "5202", "5302"}));
    EXPECT_EQ(boxes.Questions().size(), 1u) << "only Reset asks";
}

TEST_F(Rv1240Pages, BankResetAsksFirstAndEachCommandSaysWhatItDid)
{
    CCmd40Mem page(&theApp.m_pReg1240);
    Create(page);
    testing_support::MessageBoxRecorder boxes;
    Click(page, IDC_40MEM_BANK2);
    Fresh();
    Click(page, IDC_40MEM_RESET); // answered No
    ASSERT_EQ(boxes.Questions().size(), 1u);
    EXPECT_NE(boxes.Questions()[0].text.find("bank 2"), std::string::npos);
    EXPECT_TRUE(Sent().empty()) << "No resets nothing";
    EXPECT_EQ(page.GetDlgItemText(IDC_40MEM_DONE), "");

    boxes.Answer(true);
    // The same words go to the window's status bar.
    std::string status;
    ui::SetStatusLineHandler([&status](const std::string& text) { status = text; });
    const std::pair<int, const char*> commands[] = {
        {IDC_40MEM_SAVE, "The settings were saved to bank 2."},
        {IDC_40MEM_LOAD, "The settings of bank 2 were loaded."},
        {IDC_40MEM_RESET, "Bank 2 was reset to its power-on values."},
    };
    for (const auto& [command, done] : commands) {
        Click(page, command);
        EXPECT_EQ(page.GetDlgItemText(IDC_40MEM_DONE), done);
        EXPECT_EQ(status, done);
    }
    ui::SetStatusLineHandler({});
    EXPECT_EQ(boxes.Questions().size(), 2u);
    EXPECT_TRUE(boxes.Boxes().empty());
}

} // namespace

TEST_F(Rv1240Pages, TheKeyboardReachesEveryBarMovesItAndApplyWritesWhatItChose)
{
    camera.Set(0x64, 0x80);
    CCmd40UsrGain page(&theApp.m_pReg1240);
    Create(page);
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    page.ShowWindow(true);

    // Tab from the page's first control reaches both bars.
    std::set<QWidget*> reached;
    page.GetDlgItem(IDC_40GAIN_REFRESH)->setFocus();
    for (int presses = 0; presses < 12; ++presses) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached.insert(QApplication::focusWidget());
    }
    QWidget* gainBar = page.GetDlgItem(IDC_40GAIN_GAIN_BAR);
    EXPECT_TRUE(reached.count(gainBar)) << "the gain bar is a tab stop";
    EXPECT_TRUE(reached.count(page.GetDlgItem(IDC_40GAIN_OFFSET_BAR))) << "so is the offset bar";
    // The value boxes beside the bars take a typed value.
    for (int box : {IDC_40GAIN_GAIN_HEX, IDC_40GAIN_OFFSET_DEC}) {
        QAccessibleInterface* shown = QAccessible::queryAccessibleInterface(page.GetDlgItem(box));
        ASSERT_NE(shown, nullptr);
        EXPECT_FALSE(shown->state().readOnly) << box;
    }

    int minimum = 0;
    int maximum = 0;
    page.GetScrollBar(IDC_40GAIN_GAIN_BAR).GetScrollRange(&minimum, &maximum);
    const int pageStep = static_cast<QScrollBar*>(gainBar)->pageStep();
    struct Row {
        Qt::Key key;
        int value; // the bar's value afterwards
    };
    const Row rows[] = {
        {Qt::Key_Right, 0x81},
        {Qt::Key_Left, 0x80},
        {Qt::Key_Up, 0x7F},
        {Qt::Key_Down, 0x80},
        {Qt::Key_End, maximum},
        {Qt::Key_Home, minimum},
        {Qt::Key_PageDown, minimum + pageStep},
        {Qt::Key_PageUp, minimum},
        {Qt::Key_PageDown, minimum + pageStep},
    };
    gainBar->setFocus();
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "key " << row.key);
        QTest::keyClick(gainBar, row.key);
        EXPECT_EQ(page.BarValue(IDC_40GAIN_GAIN_BAR), row.value);
    }
    Fresh();
    Click(page, IDC_40GAIN_APPLY);
    EXPECT_EQ(camera.Get(0x64), minimum + pageStep) << "Apply wrote what the keys chose";
}
