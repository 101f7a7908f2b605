// Dialogs from templates: controls by id, data exchange, notifications and the ways a dialog
// ends.
#include "platform/ui/Dialog.h"
#include "platform/ui/Resources.h"
#include "tests/platform/ui/GuiTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace ui;

namespace {

enum : int {
    kFormId = 9001,
    kPopupId = 9002,
    kRadioA1 = 100,
    kRadioA2,
    kRadioA3,
    kCheck,
    kRadioB1,
    kRadioB2,
    kName,
    kNote,
    kApply,
};

const DialogTemplate& Form()
{
    static const DialogTemplate form{
        kFormId,
        "Form",
        {10, 20, 200, 120},
        ds::Child,
        8,
        "",
        {
            {Kind::GroupBox, IDC_STATIC, "Mode", {4, 4, 90, 60}},
            {Kind::RadioButton, kRadioA1, "A1", {10, 14, 40, 10}, cs::Group | cs::TabStop},
            {Kind::RadioButton, kRadioA2, "A2", {10, 26, 40, 10}},
            {Kind::Text, IDC_STATIC, "between", {50, 26, 40, 8}},
            {Kind::RadioButton, kRadioA3, "A3", {10, 38, 40, 10}},
            {Kind::CheckBox, kCheck, "On", {10, 50, 40, 10}, cs::Group | cs::TabStop},
            {Kind::RadioButton, kRadioB1, "B1", {100, 14, 40, 10}, cs::Group},
            {Kind::RadioButton, kRadioB2, "B2", {100, 26, 40, 10}},
            {Kind::Edit,
             kName,
             "",
             {100, 40, 60, 12},
             es::ReadOnly | cs::Right | es::UpperCase | cs::Group},
            {Kind::Edit, kNote, "", {100, 56, 90, 40}, es::MultiLine | es::VScroll},
            {Kind::PushButton, kApply, "Apply", {140, 100, 50, 14}, cs::Disabled},
        },
    };
    return form;
}

const DialogTemplate& Popup()
{
    static const DialogTemplate popup{
        kPopupId,
        "Pop",
        {0, 0, 120, 60},
        ds::Popup | ds::Caption | ds::ModalFrame | ds::SysMenu,
        8,
        "",
        {
            {Kind::CheckBox, kCheck, "On", {10, 10, 40, 10}, cs::TabStop},
            {Kind::Edit, kName, "", {10, 24, 60, 12}, es::UpperCase | cs::TabStop},
            {Kind::DefPushButton, IDOK, "OK", {64, 42, 24, 14}, cs::TabStop},
            {Kind::PushButton, IDCANCEL, "Cancel", {92, 42, 24, 14}, cs::TabStop},
        },
    };
    return popup;
}

void InstallTemplates()
{
    static const bool installed = [] {
        ResourceTable table;
        table.dialogs = {&Form(), &Popup()};
        InstallResources(table);
        return true;
    }();
    (void)installed;
}

class FormDialog : public Dialog {
public:
    FormDialog() : Dialog(kFormId) {}
    int m_modeA = -1;
    int m_modeB = -1;
    int m_on = 0;
    std::string m_name;
    int m_shown = 0;
    int m_hidden = 0;

protected:
    void DoDataExchange(DataExchange& dx) override
    {
        dx.Radio(kRadioA1, m_modeA);
        dx.Radio(kRadioB1, m_modeB);
        dx.Check(kCheck, m_on);
        dx.Text(kName, m_name);
    }
    void OnShowWindow(bool show) override { ++(show ? m_shown : m_hidden); }
};

class PopupDialog : public Dialog {
public:
    PopupDialog() : Dialog(kPopupId) {}
    int m_on = 0;
    std::string m_name;
    bool m_refuseCancel = false;
    int m_cancelAsked = 0;

protected:
    void DoDataExchange(DataExchange& dx) override
    {
        dx.Check(kCheck, m_on);
        dx.Text(kName, m_name);
    }
    void OnCancel() override
    {
        ++m_cancelAsked;
        if (!m_refuseCancel)
            Dialog::OnCancel();
    }
};

class DialogTest : public testing::Test {
protected:
    void SetUp() override { InstallTemplates(); }
};

} // namespace

TEST_F(DialogTest, ChildDialogIsBuiltFromItsTemplateHiddenInsideItsParent)
{
    QWidget parent;
    parent.resize(800, 600);
    FormDialog form;
    ASSERT_TRUE(form.Create(&parent));
    EXPECT_FALSE(form.Create(&parent)) << "created twice";
    EXPECT_EQ(form.parentWidget(), &parent);
    EXPECT_FALSE(form.isWindow());
    EXPECT_TRUE(form.isHidden()) << "a page stays hidden until shown";

    const DialogUnits& units = form.Units();
    EXPECT_EQ(form.geometry(), units.ToPixels({10, 20, 200, 120}));
    EXPECT_EQ(form.GetDlgItem(kApply)->geometry(), units.ToPixels({140, 100, 50, 14}));
    EXPECT_FALSE(form.GetDlgItem(kApply)->isEnabled());

    EXPECT_NE(qobject_cast<QRadioButton*>(form.GetDlgItem(kRadioA1)), nullptr);
    EXPECT_NE(qobject_cast<QCheckBox*>(form.GetDlgItem(kCheck)), nullptr);
    EXPECT_NE(qobject_cast<QLineEdit*>(form.GetDlgItem(kName)), nullptr);
    EXPECT_NE(qobject_cast<QPlainTextEdit*>(form.GetDlgItem(kNote)), nullptr);
    EXPECT_EQ(form.GetDlgItem(4242), nullptr);
    EXPECT_FALSE(form.GetComboBox(kName).IsValid()) << "an edit box is no combo box";
    EXPECT_TRUE(form.GetEdit(kNote).IsValid());

    // Read-only, right-aligned edit box.
    auto* name = qobject_cast<QLineEdit*>(form.GetDlgItem(kName));
    EXPECT_TRUE(name->isReadOnly());
    EXPECT_TRUE(name->alignment() & Qt::AlignRight);

    // The group box lies behind the radio buttons it frames, so they get the clicks.
    QWidget* radio = form.GetDlgItem(kRadioA1);
    const QPoint inside = radio->geometry().center();
    EXPECT_EQ(form.childAt(inside), radio);
}

TEST_F(DialogTest, MissingTemplateCreatesNothing)
{
    Dialog missing(4711);
    EXPECT_FALSE(missing.Create(nullptr));
    EXPECT_EQ(missing.DoModal(), -1);
}

TEST_F(DialogTest, RadioGroupsExchangeAnIndexWithMinusOneForNone)
{
    FormDialog form;
    ASSERT_TRUE(form.Create(nullptr));
    // Initialisation pushed the members: nothing chosen.
    for (int id : {kRadioA1, kRadioA2, kRadioA3, kRadioB1, kRadioB2})
        EXPECT_EQ(form.IsDlgButtonChecked(id), 0) << id;

    // Group A runs to the check box (the label between its buttons does not end it).
    EXPECT_EQ(form.RadioGroup(kRadioA1).size(), 3u);
    EXPECT_EQ(form.RadioGroup(kRadioB1).size(), 2u);

    form.m_modeA = 2;
    form.m_modeB = 0;
    form.UpdateData(false);
    EXPECT_EQ(form.IsDlgButtonChecked(kRadioA3), 1);
    EXPECT_EQ(form.IsDlgButtonChecked(kRadioA1), 0);
    EXPECT_EQ(form.IsDlgButtonChecked(kRadioB1), 1);

    // The user picks another button: only its own group changes.
    form.GetButton(kRadioA1).Click();
    form.UpdateData(true);
    EXPECT_EQ(form.m_modeA, 0);
    EXPECT_EQ(form.m_modeB, 0);
    EXPECT_EQ(form.IsDlgButtonChecked(kRadioA3), 0);

    // Clicking the chosen button again keeps it chosen.
    form.GetButton(kRadioA1).Click();
    EXPECT_EQ(form.IsDlgButtonChecked(kRadioA1), 1);

    // -1 (or an index the group does not have) chooses none.
    form.m_modeA = -1;
    form.m_modeB = 7;
    form.UpdateData(false);
    form.m_modeA = form.m_modeB = 99;
    form.UpdateData(true);
    EXPECT_EQ(form.m_modeA, -1);
    EXPECT_EQ(form.m_modeB, -1);
}

TEST_F(DialogTest, CheckBoxesAndTextsExchangeBothWays)
{
    FormDialog form;
    ASSERT_TRUE(form.Create(nullptr));
    form.m_on = 1;
    form.m_name = "CAM-7";
    form.UpdateData(false);
    EXPECT_EQ(form.IsDlgButtonChecked(kCheck), 1);
    EXPECT_EQ(form.GetDlgItemText(kName), "CAM-7");

    form.CheckDlgButton(kCheck, 0);
    form.SetDlgItemText(kName, "Ünïcode");
    form.UpdateData(true);
    EXPECT_EQ(form.m_on, 0);
    EXPECT_EQ(form.m_name, "Ünïcode");
}

TEST_F(DialogTest, ShowWindowReportsOnlyChanges)
{
    QWidget parent;
    FormDialog form;
    ASSERT_TRUE(form.Create(&parent));
    form.ShowWindow(false); // already hidden
    EXPECT_EQ(form.m_hidden, 0);
    form.ShowWindow(true);
    form.ShowWindow(true);
    EXPECT_EQ(form.m_shown, 1);
    EXPECT_FALSE(form.isHidden());
    form.ShowWindow(false);
    EXPECT_EQ(form.m_hidden, 1);
    form.MoveWindow(4, 37);
    EXPECT_EQ(form.pos(), QPoint(4, 37));
    EXPECT_EQ(form.size(), form.Units().ToPixels({0, 0, 200, 120}).size()) << "moved, not resized";
}

TEST_F(DialogTest, OkPullsTheMembersAndEndsWithOk)
{
    PopupDialog popup;
    gui_test::WhenModal([&](QWidget* modal) {
        EXPECT_EQ(modal, &popup);
        EXPECT_EQ(modal->windowTitle(), "Pop");
        // The template's size where the screen has room.
        EXPECT_EQ(modal->size(), modal->maximumSize());
        QTest::mouseClick(popup.GetDlgItem(kCheck), Qt::LeftButton);
        // Typed letters come out in upper case.
        QTest::keyClicks(popup.GetDlgItem(kName), "ab1c");
        QTest::mouseClick(popup.GetDlgItem(IDOK), Qt::LeftButton);
    });
    EXPECT_EQ(popup.DoModal(), IDOK);
    EXPECT_EQ(popup.m_on, 1);
    EXPECT_EQ(popup.m_name, "AB1C");
}

TEST_F(DialogTest, ReturnPressesTheDefaultButton)
{
    PopupDialog popup;
    gui_test::WhenModal(
        [&](QWidget*) { QTest::keyClick(popup.GetDlgItem(kName), Qt::Key_Return); });
    EXPECT_EQ(popup.DoModal(), IDOK);
}

TEST_F(DialogTest, EscapeAndCancelEndWithCancelUnlessTheDialogRefuses)
{
    PopupDialog popup;
    gui_test::WhenModal([&](QWidget*) {
        QTest::keyClicks(popup.GetDlgItem(kName), "x");
        QTest::keyClick(popup.GetDlgItem(kName), Qt::Key_Escape);
    });
    EXPECT_EQ(popup.DoModal(), IDCANCEL);
    EXPECT_EQ(popup.m_name, "") << "cancel pulls nothing";

    PopupDialog stubborn;
    stubborn.m_refuseCancel = true;
    gui_test::WhenModal([&](QWidget*) {
        QTest::keyClick(stubborn.GetDlgItem(kName), Qt::Key_Escape);
        QTest::mouseClick(stubborn.GetDlgItem(IDCANCEL), Qt::LeftButton);
        stubborn.close();
        EXPECT_TRUE(stubborn.isVisible());
        EXPECT_EQ(stubborn.m_cancelAsked, 3);
        stubborn.EndDialog(77);
    });
    EXPECT_EQ(stubborn.DoModal(), 77);
}

TEST_F(DialogTest, HandlersRunForTheirControlOnly)
{
    PopupDialog popup;
    int checks = 0;
    int edits = 0;
    popup.OnClicked(kCheck, [&] { ++checks; });
    popup.OnEditChange(kName, [&] { ++edits; });
    // A handler for OK replaces the default OK processing.
    popup.OnClicked(IDOK, [&] { popup.EndDialog(5); });
    gui_test::WhenModal([&](QWidget*) {
        popup.CheckDlgButton(kCheck, 1);     // the program's own change
        popup.SetDlgItemText(kName, "prog"); // is no notification
        QTest::mouseClick(popup.GetDlgItem(kCheck), Qt::LeftButton);
        QTest::keyClicks(popup.GetDlgItem(kName), "ab");
        QTest::mouseClick(popup.GetDlgItem(IDOK), Qt::LeftButton);
    });
    EXPECT_EQ(popup.DoModal(), 5);
    EXPECT_EQ(checks, 1);
    EXPECT_EQ(edits, 2);
}

TEST_F(DialogTest, PopupStandsAtItsTemplatePositionRelativeToItsParent)
{
    static const DialogTemplate placed{9003, "Placed", {40, 16, 60, 30}, ds::Popup | ds::Caption, 8,
                                       "",   {}};
    ResourceTable table;
    table.dialogs = {&placed};
    InstallResources(table);

    QWidget owner;
    owner.setGeometry(50, 60, 200, 100);
    owner.show();
    Dialog dialog(9003);
    ASSERT_TRUE(dialog.Create(&owner));
    EXPECT_TRUE(dialog.isWindow());
    EXPECT_TRUE(dialog.isHidden());
    const QPoint expected = owner.mapToGlobal(QPoint(0, 0)) +
                            QPoint(dialog.Units().ToPixelsX(40), dialog.Units().ToPixelsY(16));
    EXPECT_EQ(dialog.pos(), expected);
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowCloseButtonHint)
        << "no system menu, no close box";
}
