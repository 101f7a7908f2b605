// The whole program on simulated cameras behind a link path, as a camera is replugged: what the
// window writes, shows and asks agrees with the camera that is on the port. A camera of another
// model gets nothing and is named; another serial number of the same model is written only when
// the user says so; a plain unplug is told as such; a refused Update is told as a refusal.
#include "app/CameraStatusBar.h"
#include "app/MainFrame.h"
#include "app/ModelMismatchBar.h"
#include "app/VireoApp.h"
#include "app/VireoView.h"
#include "comm/ComIF.h"
#include "res/Resource.h"
#include "res/ids/Rv1240.h"
#include "tests/app/GrabberStartup.h"
#include "tests/platform/ui/GuiTest.h"
#include "tests/support/PtyCamera.h"
#include "tests/support/TestEnvironment.h"
#include "tools/camsim/Personality.h"

#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kGainRegister = 0x64;
constexpr int kSerialAddress = 0x20;

std::unique_ptr<PtyCamera> StartCamera(camsim::Model model, const std::string& serial)
{
    auto camera = std::make_unique<PtyCamera>(model);
    std::string failure;
    if (!camera->Start(failure)) {
        ADD_FAILURE() << failure;
        return nullptr;
    }
    for (std::size_t i = 0; i < serial.size(); ++i)
        camera->camera.Set(kSerialAddress + static_cast<int>(i),
                           static_cast<std::uint8_t>(serial[i]));
    return camera;
}

std::string Joined(const std::vector<RecordedBox>& boxes)
{
    std::string text;
    for (const RecordedBox& box : boxes)
        text += box.text + "|";
    return text;
}

} // namespace

TEST(WindowAgreement, WritesOnlyToTheCameraItNamesAndTellsRefusals)
{
    ScopedSettingsDir settings;
    const std::string link =
        (std::filesystem::temp_directory_path() / ("vireo-agreement-" + std::to_string(::getpid())))
            .string();
    std::vector<std::unique_ptr<PtyCamera>> cameras;
    cameras.push_back(StartCamera(camsim::Model::RV1240DLX, "4010999"));
    ASSERT_NE(cameras.back(), nullptr);
    std::filesystem::remove(link);
    std::filesystem::create_symlink(cameras.back()->Path(), link);
    CVireoView* view = StartOnSerialPort(link, 300);
    ASSERT_NE(view, nullptr);
    CMainFrame& frame = *theApp.m_pMainWnd;
    ASSERT_EQ(view->ChosenModelName(), "RV1240DLX");
    view->GetTabCtrl(IDC_TAB_RV1240).Widget()->Bar()->setCurrentIndex(2);
    CCmd40UsrGain& page = view->m_cmd40UsrGain;
    MessageBoxRecorder boxes;

    enum class Plug { Stays, Unplugged, Replugged };
    enum class Act { Apply, Update };
    struct Row {
        const char* name;
        Plug plug;
        camsim::Model model; // of the camera plugged in
        const char* serial;
        camsim::Fault fault;
        bool yes; // the answer to a question
        Act act;
        bool written;         // the value reached the camera on the port
        std::string question; // empty: none asked
        std::string box;      // empty: none shown
        std::string status;   // the status bar's line after the action
    };
    const std::string on = "The camera on " + link + " is now ";
    const Row rows[] = {
        {"another serial, No", Plug::Replugged, camsim::Model::RV1240DLX, "4010998",
         camsim::Fault::None, false, Act::Apply, false,
         on + "an RV1240DLX 4010998, not an RV1240DLX 4010999.\nGo on with this camera?", "",
         "RV1240DLX 4010998"},
        {"another serial, Yes", Plug::Replugged, camsim::Model::RV1240DLX, "4010997",
         camsim::Fault::None, true, Act::Apply, true,
         on + "an RV1240DLX 4010997, not an RV1240DLX 4010998.\nGo on with this camera?", "",
         "RV1240DLX 4010997"},
        {"another model", Plug::Replugged, camsim::Model::RVQM52CM14, "5229999",
         camsim::Fault::None, false, Act::Apply, false, "",
         on + "an RVQM52CM14 5229999, not an RV1240DLX 4010997. Nothing was sent.",
         "RVQM52CM14 5229999"},
        {"Update on NAK", Plug::Stays, camsim::Model::RVQM52CM14, "", camsim::Fault::Nak, false,
         Act::Update, false, "", "The camera refused the request.", "RVQM52CM14 5229999"},
        {"unplugged", Plug::Unplugged, camsim::Model::RVQM52CM14, "", camsim::Fault::None, false,
         Act::Apply, false, "", "the camera's port was lost: " + link, "the port was lost"},
    };
    int value = 0x21;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // What a page said of the last camera goes with it.
        view->m_cmd40Register.ShowRegisterStatus(REG_NAK);
        // A change on the page waits to be applied while the cable is pulled.
        page.GetScrollBar(IDC_40GAIN_GAIN_BAR).Widget()->Simulate(ui::SB_THUMBPOSITION, ++value);
        if (row.plug != Plug::Stays) {
            cameras.back()->server.Stop();
            ASSERT_TRUE(gui_test::WaitFor([] { return g_ComIF.m_Rs232c.PortLost(); }));
            std::filesystem::remove(link);
        }
        if (row.plug == Plug::Replugged) {
            cameras.push_back(StartCamera(row.model, row.serial));
            ASSERT_NE(cameras.back(), nullptr);
            std::filesystem::create_symlink(cameras.back()->Path(), link);
        }
        camsim::Camera& camera = cameras.back()->camera;
        camera.SetFaults({row.fault, false, 0, 0});
        const std::uint8_t before = camera.Get(kGainRegister);
        boxes.Answer(row.yes);
        const std::size_t questionsBefore = boxes.Questions().size();
        const std::size_t boxesBefore = boxes.Boxes().size();

        QTest::mouseClick(row.act == Act::Apply ? page.GetDlgItem(IDC_40GAIN_APPLY)
                                                : view->GetDlgItem(IDC_BUTTON_UPDATE),
                          Qt::LeftButton);

        EXPECT_EQ(camera.Get(kGainRegister), row.written ? value : before);
        EXPECT_EQ(view->m_cmd40Register.m_strStatus.empty(), row.plug == Plug::Replugged);
        const auto questions = boxes.Questions();
        const auto shown = boxes.Boxes();
        EXPECT_EQ(Joined({questions.begin() + questionsBefore, questions.end()}),
                  row.question.empty() ? "" : row.question + "|");
        EXPECT_EQ(Joined({shown.begin() + boxesBefore, shown.end()}),
                  row.box.empty() ? "" : row.box + "|");
        EXPECT_EQ(frame.GetCameraStatus()->Text().toStdString(), link + " \u2014 " + row.status);
        // The pages are for the RV1240DLX: the bar offers the other model's.
        EXPECT_EQ(frame.GetModelMismatchBar()->isVisible(),
                  row.plug != Plug::Unplugged && row.model != camsim::Model::RV1240DLX);
        camera.SetFaults({});
    }
    CloseProgram();
    g_ComIF.Close();
    std::filesystem::remove(link);
}
