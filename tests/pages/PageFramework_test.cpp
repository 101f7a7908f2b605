// What every page shares: stepping and clamping of scroll bars, read-out formats, the shutter
// list rule and the register status texts.
#include "app/CameraStatusBar.h"
#include "app/ModelMismatchBar.h"
#include "pages/Readout.h"
#include "pages/common/RegisterStatus.h"
#include "pages/rv1240/Cmd40UsrGain.h"
#include "platform/ui/ScrollBar.h"
#include "res/Resource.h"
#include "res/ids/Rv1240.h"
#include "res/ids/Rvqm52.h"
#include "tests/pages/PageFixture.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QGroupBox>
#include <QImage>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QShortcutEvent>
#include <QTest>

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

// A value typed into a bar's box becomes its value when the bar could reach it; anything else
// puts the box's text back and changes nothing.
TEST_F(ScrollRules, AValueTypedIntoABarsBoxIsTakenWithinItsRange)
{
    struct Case {
        int box;
        int bar;
        const char* typed;
        int expected;
        const char* shown;
    };
    const Case cases[] = {
        {IDC_40GAIN_OFFSET_DEC, IDC_40GAIN_OFFSET_BAR, "-300", -300, "-300"},
        {IDC_40GAIN_OFFSET_DEC, IDC_40GAIN_OFFSET_BAR, " 511 ", 511, "511"},
        {IDC_40GAIN_OFFSET_DEC, IDC_40GAIN_OFFSET_BAR, "512", 511, "511"}, // past the maximum
        {IDC_40GAIN_OFFSET_DEC, IDC_40GAIN_OFFSET_BAR, "-513", 511, "511"},
        {IDC_40GAIN_OFFSET_DEC, IDC_40GAIN_OFFSET_BAR, "12x", 511, "511"},
        {IDC_40GAIN_OFFSET_DEC, IDC_40GAIN_OFFSET_BAR, "", 511, "511"},
        {IDC_40GAIN_GAIN_HEX, IDC_40GAIN_GAIN_BAR, "ab", 0xAB, "ab"},
        {IDC_40GAIN_GAIN_HEX, IDC_40GAIN_GAIN_BAR, "0x1F", 0x1F, "1f"},
        {IDC_40GAIN_GAIN_HEX, IDC_40GAIN_GAIN_BAR, "100", 0x1F, "1f"},
    };
    CCmd40UsrGain page(&theApp.m_pReg1240);
    Create(page);
    Click(page, IDC_40GAIN_REFRESH);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        auto* box = qobject_cast<QLineEdit*>(page.GetDlgItem(c.box));
        ASSERT_NE(box, nullptr);
        EXPECT_FALSE(box->isReadOnly());
        Fresh();
        box->setText(QString::fromLatin1(c.typed));
        emit box->editingFinished();
        EXPECT_EQ(page.BarValue(c.bar), c.expected);
        EXPECT_EQ(page.GetScrollBar(c.bar).GetScrollPos(), c.expected);
        EXPECT_EQ(page.GetDlgItemText(c.box), c.shown);
        EXPECT_TRUE(Sent().empty()) << "typing writes nothing until Apply";
    }
    EXPECT_TRUE(page.HasChanges());
}

// Each control is found and reached as what it is: radio buttons as radio buttons, a label's or
// a frame's access letter moves to its field, a bar that has the focus shows it, and the bars
// above the pages say their text.
TEST_F(ScrollRules, ControlsAreReachedByKeyAndKnownByWhatTheyAre)
{
    struct Radios {
        int templateId;
        std::vector<int> ids;
    };
    const Radios radios[] = {
        {IDD_COMM_SETUP, {IDC_RADIO_COMPORT, IDC_RADIO_CAS}},
        {IDD_CMD40_SHATTER, {IDC_40SHUT_8BIT, IDC_40SHUT_10BIT, IDC_40SHUT_12BIT}},
        {IDD_CMD40_MEM, {IDC_40MEM_BANK0, IDC_40MEM_BANK1, IDC_40MEM_BANK2, IDC_40MEM_BANK3}},
        {IDD_CMD52C_COLOR, {IDC_52COL_ONEPUSH, IDC_52COL_MANUAL}},
    };
    for (const Radios& row : radios) {
        ui::Dialog dialog(row.templateId);
        ASSERT_TRUE(dialog.Create(&host));
        for (int id : row.ids) {
            SCOPED_TRACE(testing::Message() << row.templateId << " control " << id);
            QAccessibleInterface* control =
                QAccessible::queryAccessibleInterface(dialog.GetDlgItem(id));
            ASSERT_NE(control, nullptr);
            EXPECT_EQ(control->role(), QAccessible::RadioButton);
        }
        dialog.ShowWindow(false);
    }

    // COMM Setup: every field by its letter.
    ui::Dialog setup(IDD_COMM_SETUP);
    ASSERT_TRUE(setup.Create(&host));
    struct Letter {
        const char* caption; // of the label or frame
        int field;
    };
    const Letter letters[] = {
        {"&Port", IDC_COMBO_COMPORT}, {"&Speed", IDC_COMBO_SPEED}, {"&Timeout", IDC_EDIT_TIMEOUT}};
    for (const Letter& letter : letters) {
        SCOPED_TRACE(letter.caption);
        QWidget* target = setup.GetDlgItem(letter.field);
        QWidget* owner = nullptr;
        for (auto* label : setup.findChildren<QLabel*>())
            if (label->text() == letter.caption)
                owner = label;
        for (auto* frame : setup.findChildren<QGroupBox*>())
            if (frame->title() == letter.caption)
                owner = frame;
        ASSERT_NE(owner, nullptr);
        if (auto* label = qobject_cast<QLabel*>(owner)) {
            EXPECT_EQ(label->buddy(), target);
            continue;
        }
        QShortcutEvent press(QKeySequence::mnemonic(letter.caption), 0, false);
        QCoreApplication::sendEvent(owner, &press);
        EXPECT_EQ(setup.focusWidget(), target);
    }
    for (int id : {ui::IDOK, ui::IDCANCEL, IDC_RADIO_COMPORT, IDC_RADIO_CAS})
        EXPECT_TRUE(qobject_cast<QAbstractButton*>(setup.GetDlgItem(id))->text().contains('&'))
            << id;

    // A bar with the focus looks otherwise than one without.
    ui::ScrollBarWidget bar(&host);
    bar.resize(150, 16);
    bar.show();
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    bar.setFocus();
    ASSERT_TRUE(bar.hasFocus());
    const QImage focused = bar.grab().toImage();
    bar.clearFocus();
    ASSERT_FALSE(bar.hasFocus());
    EXPECT_NE(bar.grab().toImage(), focused);
    host.hide();

    CModelMismatchBar mismatch(&host);
    mismatch.Take("/dev/ttyS0", "RV1250LX", "RV1240DLX");
    EXPECT_EQ(mismatch.accessibleDescription().toStdString(),
              "The camera on /dev/ttyS0 is an RV1250LX; the pages are for the RV1240DLX.");
    CCameraStatusBar status(&host);
    AttachedCamera attached;
    attached.portOpen = true;
    attached.port = "/dev/ttyS0";
    attached.model = "RV1240DLX";
    attached.serial = "4010237";
    status.Show(attached);
    EXPECT_EQ(status.accessibleDescription(), status.Text());
    EXPECT_FALSE(status.accessibleName().isEmpty());
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
