// A change on a page that was not applied: its control and tab are marked, and leaving the page
// (another tab, another model, closing the window) asks whether to apply it, drop it or stay.
#include "app/MainFrame.h"
#include "app/SplashWnd.h"
#include "app/VireoView.h"
#include "res/Resource.h"
#include "platform/ui/OpenFileDialog.h"
#include "res/ids/Rv1240.h"
#include "tests/pages/PageFixture.h"

#include <QPointer>
#include <QTabBar>

#include <algorithm>
#include <QTabBar>

using namespace page_test;

namespace {

constexpr int kUserGainTab = 2;
constexpr int kShutterTab = 4;
constexpr int kRegisterTab = 5;
const std::vector<std::string> kUserGainReads = {"63RQ", "62RQ", "64RQ"};

enum class Leave { Tab, Model, Close, Load };

// File > Load's file dialog: counts the times it is asked, and the user cancels it.
class CountedOpenDialog : public ui::OpenFileDialog {
public:
    CountedOpenDialog() { ui::SetOpenFileDialog(this); }
    ~CountedOpenDialog() override { ui::SetOpenFileDialog(nullptr); }
    std::optional<std::string> Ask(QWidget*, const ui::OpenFileRequest&) override
    {
        ++asked;
        return std::nullopt;
    }
    int asked = 0;
};

class UnappliedChanges : public PageFixture {
protected:
    UnappliedChanges() : PageFixture(camsim::Model::RV1240DLX)
    {
        CSplashWnd::EnableSplashScreen(false);
        OpenWindow();
        ChooseModel("RV1240DLX");
        ChooseTab(kUserGainTab);
        Fresh();
    }
    ~UnappliedChanges() override { delete frame.data(); }

    void OpenWindow()
    {
        frame = new CMainFrame;
        ASSERT_TRUE(frame->LoadFrame());
        view = frame->GetActiveView();
        view->OnInitialUpdate();
        // These pages talk to an in-process camera, not through the program's port.
        pages::CCmdPage::SetReadRule({});
    }

    void ChooseModel(const std::string& name)
    {
        ui::ComboBox models = view->GetComboBox(IDC_COMBO_MODEL);
        Choose(*view, IDC_COMBO_MODEL, models.FindStringExact(-1, name));
    }
    QTabBar* Bar() const { return view->GetTabCtrl(IDC_TAB_RV1240).Widget()->Bar(); }
    void ChooseTab(int index) { Bar()->setCurrentIndex(index); } // as a click does
    bool Leave(::Leave how)
    {
        switch (how) {
        case ::Leave::Tab:
            ChooseTab(kRegisterTab);
            return Bar()->currentIndex() == kRegisterTab;
        case ::Leave::Model:
            ChooseModel("RV1250LX");
            return view->ShownModel() == 1;
        case ::Leave::Close:
            return frame->close();
        case ::Leave::Load: {
            const int before = openDialog.asked;
            frame->OnCommand(ID_FILE_LOAD_CAMERA_SETTINGS);
            return openDialog.asked > before;
        }
        }
        return false;
    }
    bool GainMarked() const
    {
        return view->m_cmd40UsrGain.GetDlgItem(IDC_40GAIN_GAIN_HEX)->accessibleDescription() ==
               pages::CCmdPage::kChangedDescription;
    }

    testing_support::MessageBoxRecorder boxes;
    CountedOpenDialog openDialog;
    QPointer<CMainFrame> frame;
    CVireoView* view = nullptr;
};

TEST_F(UnappliedChanges, NothingChangedLeavesWithoutAQuestionAndReadsAsBefore)
{
    EXPECT_FALSE(GainMarked());
    ChooseTab(kShutterTab);
    ChooseTab(kUserGainTab);
    EXPECT_TRUE(boxes.Questions().empty());
    EXPECT_TRUE(Writes().empty());
    EXPECT_EQ(Bar()->tabText(kUserGainTab), "UserGain");
    const std::vector<std::string> sent = Sent();
    EXPECT_EQ(std::vector<std::string>(sent.end() - 3, sent.end()), kUserGainReads)
        << "the page read when shown again";
    EXPECT_TRUE(frame->close());
    EXPECT_TRUE(boxes.Questions().empty());
}

TEST_F(UnappliedChanges, EachAnswerAppliesDropsOrKeepsTheChange)
{
    struct Row {
        ::Leave leave;
        ChangesChoice answer;
        bool goesOn;
        bool writes;
        bool rereads; // the page left reads the camera's values back
    };
    const Row rows[] = {
        {::Leave::Tab, ChangesChoice::Apply, true, true, false},
        {::Leave::Tab, ChangesChoice::Discard, true, false, true},
        {::Leave::Tab, ChangesChoice::Cancel, false, false, false},
        {::Leave::Model, ChangesChoice::Apply, true, true, false},
        {::Leave::Model, ChangesChoice::Discard, true, false, true},
        {::Leave::Model, ChangesChoice::Cancel, false, false, false},
        {::Leave::Close, ChangesChoice::Apply, true, true, false},
        {::Leave::Close, ChangesChoice::Discard, true, false, false},
        {::Leave::Close, ChangesChoice::Cancel, false, false, false},
        {::Leave::Load, ChangesChoice::Apply, true, true, false},
        {::Leave::Load, ChangesChoice::Discard, true, false, true},
        {::Leave::Load, ChangesChoice::Cancel, false, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "leave " << static_cast<int>(row.leave) << " answer "
                                        << static_cast<int>(row.answer));
        if (!frame) // the last case closed it
            OpenWindow();
        ChooseModel("RV1240DLX");
        ChooseTab(kUserGainTab);
        const std::size_t asked = boxes.Questions().size();
        Scroll(view->m_cmd40UsrGain, IDC_40GAIN_GAIN_BAR, ui::SB_LINERIGHT);
        ASSERT_TRUE(view->m_cmd40UsrGain.HasChanges());
        EXPECT_TRUE(GainMarked());
        EXPECT_EQ(Bar()->tabText(kUserGainTab), "UserGain *");
        Fresh();
        boxes.Answer(row.answer);

        EXPECT_EQ(Leave(row.leave), row.goesOn);
        ASSERT_EQ(boxes.Questions().size(), asked + 1);
        EXPECT_NE(boxes.Questions().back().text.find("UserGain"), std::string::npos);
        EXPECT_EQ(!Writes().empty(), row.writes);
        if (row.writes) {
            EXPECT_EQ(Writes().back(),
                      WriteFrame(0x64, view->m_cmd40UsrGain.BarValue(IDC_40GAIN_GAIN_BAR)));
        }
        const std::vector<std::string> sent = Sent();
        EXPECT_EQ(std::search(sent.begin(), sent.end(), kUserGainReads.begin(),
                              kUserGainReads.end()) != sent.end(),
                  row.rereads);
        if (row.leave == ::Leave::Close && row.goesOn) {
            delete frame.data(); // closed: its deletion would wait for the event loop
            continue;
        }
        // Kept changes keep their page on show and their marks; the others leave none.
        // Loading settings leaves the page on show.
        EXPECT_EQ(view->m_cmd40UsrGain.isHidden(), row.goesOn && row.leave != ::Leave::Load);
        EXPECT_EQ(view->m_cmd40UsrGain.HasChanges(), !row.goesOn);
        EXPECT_EQ(GainMarked(), !row.goesOn);
        EXPECT_EQ(Bar()->tabText(kUserGainTab), row.goesOn ? "UserGain" : "UserGain *");
        if (!row.goesOn) {
            EXPECT_EQ(Bar()->currentIndex(), kUserGainTab);
            EXPECT_EQ(view->ChosenModelName(), "RV1240DLX");
            // Applied by hand, the change leaves no mark and no question.
            Click(view->m_cmd40UsrGain, IDC_40GAIN_APPLY);
            EXPECT_FALSE(view->m_cmd40UsrGain.HasChanges());
            EXPECT_EQ(Bar()->tabText(kUserGainTab), "UserGain");
        }
    }
}

TEST_F(UnappliedChanges, ACheckBoxClickMarksItsValueChanged)
{
    ChooseTab(kShutterTab);
    ASSERT_FALSE(view->m_cmd40Shatter.HasChanges());
    view->m_cmd40Shatter.GetButton(IDC_40SHUT_RANDOM).Click();
    EXPECT_TRUE(view->m_cmd40Shatter.HasChanges());
    EXPECT_EQ(Bar()->tabText(kShutterTab), "Shutter *");
    // The box clicked is marked, not the other box of its register; its text keeps its width.
    QWidget* random = view->m_cmd40Shatter.GetDlgItem(IDC_40SHUT_RANDOM);
    EXPECT_EQ(random->accessibleDescription(), pages::CCmdPage::kChangedDescription);
    EXPECT_FALSE(random->font().bold());
    EXPECT_EQ(view->m_cmd40Shatter.GetDlgItem(IDC_40SHUT_POSI)->accessibleDescription(), "");
    Click(view->m_cmd40Shatter, IDC_40SHUT_APPLY);
    EXPECT_FALSE(view->m_cmd40Shatter.HasChanges());
    EXPECT_EQ(Bar()->tabText(kShutterTab), "Shutter");
}

} // namespace
