// Combo boxes, tab controls, up-down controls and edit boxes as dialogs see them.
#include "platform/ui/Dialog.h"
#include "platform/ui/Resources.h"
#include "tests/platform/ui/GuiTest.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace ui;

namespace {

enum : int {
    kId = 9101,
    kList = 200,
    kEditable,
    kTab,
    kBottomTab,
    kBuddy,
    kSpin,
    kLog,
};

const DialogTemplate& Controls()
{
    static const DialogTemplate dialog{
        kId,
        "Controls",
        {0, 0, 260, 200},
        ds::Popup | ds::Caption,
        8,
        "",
        {
            {Kind::ComboBox,
             kList,
             "",
             {4, 4, 80, 60},
             cbs::DropDownList | cbs::Sort,
             {"beta", "Gamma", "alpha"}},
            {Kind::ComboBox, kEditable, "", {90, 4, 80, 60}, cbs::DropDown, {"9600", "4800"}},
            {Kind::Tab, kTab, "", {4, 24, 120, 60}, tcs::FixedWidth},
            {Kind::Tab, kBottomTab, "", {130, 24, 120, 60}, tcs::Bottom},
            {Kind::Edit, kBuddy, "", {4, 90, 50, 12}},
            {Kind::UpDown,
             kSpin,
             "",
             {0, 0, 10, 12},
             uds::AutoBuddy | uds::SetBuddyInt | uds::AlignRight | uds::ArrowKeys},
            {Kind::Edit,
             kLog,
             "",
             {4, 110, 120, 40},
             es::MultiLine | es::VScroll | es::AutoHScroll},
        },
    };
    return dialog;
}

class ControlsTest : public testing::Test {
protected:
    void SetUp() override
    {
        static const bool installed = [] {
            ResourceTable table;
            table.dialogs = {&Controls()};
            InstallResources(table);
            return true;
        }();
        (void)installed;
        ASSERT_TRUE(dialog.Create(nullptr));
        dialog.OnSelChange(kList, [this] { ++listChanges; });
        dialog.OnSelChange(kEditable, [this] { ++editableChanges; });
        dialog.OnEditChange(kEditable, [this] { ++typed; });
        dialog.OnSelChange(kTab, [this] { ++tabChanges; });
        dialog.OnDeltaPos(kSpin, [this] { ++steps; });
        dialog.show();
    }

    Dialog dialog{kId};
    int listChanges = 0;
    int editableChanges = 0;
    int typed = 0;
    int tabChanges = 0;
    int steps = 0;
};

} // namespace

TEST_F(ControlsTest, ComboBoxesStartWithoutSelectionAndKeepTheirListOrder)
{
    ComboBox list = dialog.GetComboBox(kList);
    ASSERT_EQ(list.GetCount(), 3);
    // A sorted list ignores case.
    EXPECT_EQ(list.GetLBText(0), "alpha");
    EXPECT_EQ(list.GetLBText(1), "beta");
    EXPECT_EQ(list.GetLBText(2), "Gamma");
    EXPECT_EQ(list.GetCurSel(), -1);
    EXPECT_EQ(list.AddString("Delta"), 2);
    EXPECT_EQ(list.GetLBText(3), "Gamma");
    EXPECT_EQ(list.GetCurSel(), -1) << "adding an item selects nothing";
    EXPECT_EQ(list.FindStringExact(-1, "GAMMA"), 3);
    EXPECT_EQ(list.FindStringExact(-1, "gam"), -1);
    EXPECT_EQ(list.GetLBText(17), "");

    ComboBox editable = dialog.GetComboBox(kEditable);
    EXPECT_EQ(editable.GetLBText(0), "9600") << "an unsorted list keeps the template's order";
    EXPECT_EQ(editable.GetCurSel(), -1);
    EXPECT_EQ(editable.GetWindowText(), "");
}

TEST_F(ControlsTest, ComboBoxSelectionByTheProgramIsSilentAndOutOfRangeClearsIt)
{
    ComboBox editable = dialog.GetComboBox(kEditable);
    EXPECT_EQ(editable.SetCurSel(1), 1);
    EXPECT_EQ(editable.GetWindowText(), "4800");
    EXPECT_EQ(editable.SetCurSel(5), -1);
    EXPECT_EQ(editable.GetCurSel(), -1);
    EXPECT_EQ(editable.GetWindowText(), "");
    // A text that is no item leaves the selection alone.
    editable.SetCurSel(0);
    editable.SetWindowText("---");
    EXPECT_EQ(editable.GetCurSel(), 0);
    EXPECT_EQ(editable.GetWindowText(), "---");
    EXPECT_EQ(editableChanges, 0);
    EXPECT_EQ(typed, 0);
}

TEST_F(ControlsTest, UserSelectionAndTypingAreReported)
{
    ComboBox list = dialog.GetComboBox(kList);
    QTest::keyClick(list.Widget(), Qt::Key_Down);
    EXPECT_EQ(list.GetCurSel(), 0);
    EXPECT_EQ(listChanges, 1);

    ComboBox editable = dialog.GetComboBox(kEditable);
    editable.SetCurSel(0);
    QTest::keyClicks(editable.Widget()->lineEdit(), "12");
    EXPECT_EQ(typed, 2);
    EXPECT_EQ(editable.GetCurSel(), 0) << "typing does not change the list selection";
    EXPECT_EQ(editableChanges, 0);
}

TEST_F(ControlsTest, TabControlReportsOnlyTheUsersChoice)
{
    TabCtrl tab = dialog.GetTabCtrl(kTab);
    ASSERT_TRUE(tab.IsValid());
    EXPECT_EQ(tab.GetCurSel(), -1);
    tab.InsertItem(0, "Info");
    tab.InsertItem(1, "SelfCheck");
    tab.InsertItem(2, "Register");
    EXPECT_EQ(tab.GetItemCount(), 3);
    EXPECT_EQ(tab.GetCurSel(), 0) << "the first tab is selected";
    EXPECT_EQ(tab.SetCurSel(2), 0);
    EXPECT_EQ(tab.SetCurSel(3), -1);
    EXPECT_EQ(tab.GetCurSel(), 2);
    EXPECT_EQ(tabChanges, 0);

    QTabBar* bar = tab.Widget()->Bar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
    EXPECT_EQ(tab.GetCurSel(), 1);
    EXPECT_EQ(tabChanges, 1);

    // Fixed width: every tab as wide as the widest.
    EXPECT_EQ(bar->tabRect(0).width(), bar->tabRect(1).width());
    // The display area lies below the strip.
    EXPECT_GE(tab.DisplayRect().top(), bar->geometry().bottom());
}

TEST_F(ControlsTest, BottomTabStripLiesBelowTheDisplayArea)
{
    TabCtrl tab = dialog.GetTabCtrl(kBottomTab);
    tab.InsertItem(0, "Com");
    tab.InsertItem(1, "Seq");
    QTabBar* bar = tab.Widget()->Bar();
    EXPECT_EQ(bar->geometry().bottom(), tab.Widget()->height() - 1);
    EXPECT_LE(tab.DisplayRect().bottom(), bar->geometry().top());
    EXPECT_EQ(tab.DisplayRect().top(), 0);
}

TEST_F(ControlsTest, UpDownStepsWithinItsRangeAndShowsItsPositionInItsBuddy)
{
    UpDown spin = dialog.GetUpDown(kSpin);
    ASSERT_TRUE(spin.IsValid());
    Edit buddy = dialog.GetEdit(kBuddy);
    EXPECT_EQ(spin.Widget()->GetBuddy(), buddy.LineEdit());
    // It sits inside the buddy's right edge, which makes room for it.
    EXPECT_EQ(spin.Widget()->geometry().right(), dialog.Units().ToPixels({4, 90, 50, 12}).right());
    EXPECT_LT(buddy.Widget()->geometry().right(), spin.Widget()->geometry().left());

    int lower = 0;
    int upper = 0;
    spin.GetRange(&lower, &upper);
    EXPECT_EQ(lower, 100);
    EXPECT_EQ(upper, 0);

    spin.SetRange(0, 10);
    spin.SetPos(9);
    EXPECT_EQ(buddy.GetWindowText(), "9");
    QTest::keyClick(buddy.Widget(), Qt::Key_Up);
    EXPECT_EQ(spin.GetPos(), 10);
    QTest::keyClick(buddy.Widget(), Qt::Key_Up);
    EXPECT_EQ(spin.GetPos(), 10) << "stays at the end of its range";
    EXPECT_EQ(steps, 1);
    auto buttons = spin.Widget()->findChildren<QToolButton*>();
    ASSERT_EQ(buttons.size(), 2);
    QToolButton* down = buttons[0]->arrowType() == Qt::DownArrow ? buttons[0] : buttons[1];
    QTest::mouseClick(down, Qt::LeftButton);
    EXPECT_EQ(spin.GetPos(), 9);
    EXPECT_EQ(buddy.GetWindowText(), "9");
    EXPECT_EQ(steps, 2);

    // A reversed range: the up arrow goes towards the upper end, which is the smaller number.
    spin.SetRange(100, 0);
    spin.SetPos(50);
    QTest::keyClick(buddy.Widget(), Qt::Key_Up);
    EXPECT_EQ(spin.GetPos(), 49);
    EXPECT_EQ(spin.SetPos(500), 49);
    EXPECT_EQ(spin.GetPos(), 100);
}

TEST_F(ControlsTest, MultiLineEditScrollsByLines)
{
    Edit log = dialog.GetEdit(kLog);
    std::string text;
    for (int i = 0; i < 40; ++i)
        text += "line " + std::to_string(i) + "\n";
    log.SetWindowText(text);
    EXPECT_EQ(log.GetLineCount(), 41);
    EXPECT_EQ(log.GetFirstVisibleLine(), 0);
    log.LineScroll(5);
    EXPECT_EQ(log.GetFirstVisibleLine(), 5);
    log.LineScroll(log.GetLineCount());
    EXPECT_EQ(log.TextEdit()->verticalScrollBar()->value(),
              log.TextEdit()->verticalScrollBar()->maximum());
    EXPECT_EQ(log.TextEdit()->lineWrapMode(), QPlainTextEdit::NoWrap);
}
