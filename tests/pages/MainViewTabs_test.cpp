// The main view's model list and tab controls: which tab control and page show, which page reads
// the camera on a switch, where the pages stand, and that every control can be found by name.
#include "app/LogDlg.h"
#include "app/VireoView.h"
#include "res/Resource.h"
#include "res/ids/Rv1240.h"
#include "tests/pages/PageFixture.h"

#include <QApplication>
#include <QComboBox>
#include <QTabBar>
#include <QTest>

using namespace page_test;

namespace {

class MainViewTabs : public PageFixture {
protected:
    MainViewTabs() : PageFixture(camsim::Model::RV1240DLX)
    {
        view.Create(&host);
        view.show();
        view.OnInitialUpdate();
        Fresh();
    }

    void ChooseModel(const std::string& name)
    {
        ui::ComboBox models = view.GetComboBox(IDC_COMBO_MODEL);
        Choose(view, IDC_COMBO_MODEL, models.FindStringExact(-1, name));
    }
    // The user clicks a tab.
    void ChooseTab(int model, int index)
    {
        view.GetTabCtrl(view.Set(model).tabId).Widget()->Bar()->setCurrentIndex(index);
    }
    bool TabShown(int model) const { return !view.GetDlgItem(view.Set(model).tabId)->isHidden(); }

    testing_support::MessageBoxRecorder boxes; // the port of the stored settings may not open
    CVireoView view;
};

TEST_F(MainViewTabs, TabsAreBuiltInTabOrderWithRegisterCurrentAndAllHidden)
{
    // A model's pages are made when it is first chosen, in a form that already fits them.
    const QSize form = view.size();
    for (int model = 0; model < CVireoView::kModelCount; ++model) {
        EXPECT_FALSE(view.PagesCreated(model)) << model;
        for (const CVireoView::PageEntry& entry : view.Set(model).pages)
            EXPECT_FALSE(entry.page->IsCreated()) << entry.caption;
    }
    ChooseModel("RVQM52BM14");
    for (int model = 0; model < CVireoView::kModelCount; ++model)
        EXPECT_EQ(view.PagesCreated(model), model == 2) << model;
    for (int model = 0; model < CVireoView::kModelCount; ++model)
        view.EnsurePages(model);
    EXPECT_EQ(view.size(), form);
    Fresh();
    view.GetComboBox(IDC_COMBO_MODEL).SetCurSel(-1);
    view.SelectModelPages();

    for (int model = 0; model < CVireoView::kModelCount; ++model) {
        EXPECT_FALSE(TabShown(model)) << model;
        const CVireoView::PageSet& set = view.Set(model);
        ui::TabCtrl tab = view.GetTabCtrl(set.tabId);
        ASSERT_EQ(tab.GetItemCount(), static_cast<int>(set.pages.size()));
        EXPECT_EQ(tab.GetCurSel(), tab.GetItemCount() - 1);
        for (const CVireoView::PageEntry& entry : set.pages) {
            EXPECT_EQ(tab.Widget()->GetItemText(entry.tabIndex), entry.caption);
            EXPECT_TRUE(entry.page->isHidden());
            // Placed below the tab strip, inside the tab control.
            const QRect page = entry.page->geometry();
            EXPECT_GE(page.top(), tab.DisplayRect().top()) << entry.caption;
            EXPECT_TRUE(tab.Widget()->rect().contains(page)) << entry.caption;
        }
    }
    const std::vector<std::string> captions = {"Info",   "SelfCheck", "UserGain",
                                               "Memory", "Shutter",   "Register"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(view.GetTabCtrl(IDC_TAB_RV1240).Widget()->GetItemText(i), captions[i]);
    EXPECT_TRUE(Sent().empty()) << "building the tabs and pages reads nothing";
}

TEST_F(MainViewTabs, ModelAndTabSwitchesShowAndReadTheCurrentPage)
{
    ChooseModel("RV1240DLX");
    EXPECT_TRUE(TabShown(0));
    EXPECT_EQ(view.CurrentPage(0), &view.m_cmd40Register);
    EXPECT_FALSE(view.m_cmd40Register.isHidden());
    EXPECT_TRUE(Sent().empty()) << "the register page reads nothing when shown";

    ChooseTab(0, 2); // "UserGain"
    EXPECT_FALSE(view.m_cmd40UsrGain.isHidden());
    EXPECT_TRUE(view.m_cmd40Register.isHidden());
    EXPECT_EQ(Sent(), (std::vector<std::string>{"63RQ", "62RQ", "64RQ"}))
        << "showing the user-gain page reads it";

    // Another model and back: the set kept its tab, and the page reads anew.
    ChooseModel("RV1250LX");
    EXPECT_FALSE(TabShown(0));
    EXPECT_TRUE(TabShown(1));
    Fresh();
    ChooseModel("RV1240DLX");
    EXPECT_TRUE(TabShown(0));
    EXPECT_EQ(view.CurrentPage(0), &view.m_cmd40UsrGain);
    EXPECT_EQ(Sent().size(), 3u);

    // A refresh from outside the pages reaches the page on show of the model on show only.
    Fresh();
    view.RefreshShownPage(1);
    EXPECT_TRUE(Sent().empty());
    view.RefreshShownPage(0);
    EXPECT_EQ(Sent().size(), 3u);

    // Leaving the shutter page with its model reads nothing (the register page comes next).
    ChooseTab(0, 4);
    Fresh();
    ChooseModel("RVQM52BM14");
    EXPECT_TRUE(Sent().empty());
    EXPECT_TRUE(view.m_cmd40Shatter.isHidden());

    // A text that names no model shows no tab control.
    view.GetComboBox(IDC_COMBO_MODEL).SetCurSel(-1);
    view.SelectModelPages();
    for (int model = 0; model < CVireoView::kModelCount; ++model)
        EXPECT_FALSE(TabShown(model));
}

TEST_F(MainViewTabs, KeyboardReachesTheTabStripAndSwitchesPages)
{
    host.show();
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    ChooseModel("RV1240DLX");
    QTabBar* bar = view.GetTabCtrl(IDC_TAB_RV1240).Widget()->Bar();

    // Tab goes from the model list past "Update" to the shown tab strip.
    QWidget* models = view.GetDlgItem(IDC_COMBO_MODEL);
    models->setFocus();
    QTest::keyClick(models, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), view.GetDlgItem(IDC_BUTTON_UPDATE));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), bar) << "the tab strip is in the Tab order";

    // Keys switch the shown set's page wherever the focus is, wrapping at both ends; each
    // switch shows the page as a click on its tab would.
    struct Row {
        QWidget* focus;
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int tab; // expected current tab afterwards; 6 tabs, "Register" (5) current at first
    };
    const Row rows[] = {
        {bar, Qt::Key_Tab, Qt::ControlModifier, 0},
        {models, Qt::Key_Tab, Qt::ControlModifier, 1},
        {bar, Qt::Key_PageDown, Qt::ControlModifier, 2},
        {bar, Qt::Key_PageUp, Qt::ControlModifier, 1},
        {models, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 0},
        {bar, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier, 5},
        {bar, Qt::Key_Left, Qt::NoModifier, 4}, // arrows on the strip itself
        {bar, Qt::Key_PageUp, Qt::ControlModifier, 3},
        // Ctrl+Shift+Tab as a keyboard without Backtab sends it.
        {models, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, 2},
        {bar, Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "key " << row.key << " to tab " << row.tab);
        row.focus->setFocus();
        QTest::keyClick(row.focus, row.key, row.modifiers);
        EXPECT_EQ(bar->currentIndex(), row.tab);
        pages::CCmdPage* page = view.CurrentPage(0);
        ASSERT_NE(page, nullptr);
        EXPECT_FALSE(page->isHidden());
        for (const CVireoView::PageEntry& entry : view.Set(0).pages)
            if (entry.page != page) {
                EXPECT_TRUE(entry.page->isHidden()) << entry.caption;
            }
    }
    EXPECT_EQ(view.GetTabCtrl(IDC_TAB_RV1250).GetCurSel(), 5) << "hidden sets are left alone";
}

TEST_F(MainViewTabs, ModelListTakesOnlyItsFourModels)
{
    auto* models = qobject_cast<QComboBox*>(view.GetDlgItem(IDC_COMBO_MODEL));
    ASSERT_NE(models, nullptr);
    EXPECT_FALSE(models->isEditable()) << "no free text";
    ChooseModel("RVQM52BM14");
    QTest::keyClicks(models, "Hello");
    EXPECT_EQ(models->currentText(), "RVQM52BM14") << "a text that names no model is not taken";
    EXPECT_EQ(models->count(), 4);
}

TEST_F(MainViewTabs, UpdateGoesThroughTheRv1240MapWhateverModelIsChosen)
{
    ChooseModel("RVQM52CM14");
    Fresh();
    Click(view, IDC_BUTTON_UPDATE);
    EXPECT_EQ(Writes(), std::vector<std::string>{"6E01"});
}

TEST_F(MainViewTabs, EveryControlOfEveryPageHasAnAccessibleName)
{
    std::vector<QWidget*> windows = {&view};
    for (int model = 0; model < CVireoView::kModelCount; ++model)
        view.EnsurePages(model);
    for (int model = 0; model < CVireoView::kModelCount; ++model)
        for (const CVireoView::PageEntry& entry : view.Set(model).pages)
            windows.push_back(entry.page);
    for (QWidget* window : windows)
        for (QWidget* control : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            const QVariant id = control->property("ui_id");
            if (!id.isValid())
                continue;
            EXPECT_FALSE(control->accessibleName().isEmpty())
                << window->metaObject()->className() << " control " << id.toInt();
        }
    // Read-outs are named after their label, scroll bars after their group.
    EXPECT_EQ(view.m_cmd40UsrGain.GetDlgItem(IDC_40GAIN_OFFSET_BAR)->accessibleName(),
              "Output Offset");
    EXPECT_EQ(view.m_cmd40Register.GetDlgItem(IDC_40REG_ADDRESS)->accessibleName(), "Address");
    EXPECT_EQ(view.m_cmd40Shatter.GetDlgItem(IDC_40SHUT_SPEED)->accessibleName(), "Shutter Speed");
    // Two boxes of one caption are told apart by their groups.
    EXPECT_EQ(view.m_cmd40Shatter.GetDlgItem(IDC_40SHUT_MULTIPLE)->accessibleName(),
              "Multiple Mode On/Off");
    EXPECT_EQ(view.m_cmd40Shatter.GetDlgItem(IDC_40SHUT_SHUTTER)->accessibleName(),
              "Shutter On/Off");
}

} // namespace
