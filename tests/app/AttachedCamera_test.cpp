// The whole program on two simulated cameras of different models behind pseudo-terminals: the
// status bar names the port and the camera found on it when the port is opened, the bar above
// the pages says when the pages chosen are for another model and chooses the camera's, and
// without an open port no page reads.
#include "app/CameraStatusBar.h"
#include "app/MainFrame.h"
#include "app/ModelMismatchBar.h"
#include "app/VireoApp.h"
#include "app/VireoView.h"
#include "camera/inventory/ChosenCamera.h"
#include "comm/ComIF.h"
#include "res/Resource.h"
#include "tests/app/GrabberStartup.h"
#include "tests/support/PtyCamera.h"
#include "tests/support/TestEnvironment.h"
#include "tools/camsim/Personality.h"

#include <QLabel>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>

using namespace testing_support;

namespace {

constexpr int kReplyTimeOutMs = 300;
constexpr int kSerialAddress = 0x20;

struct Program {
    ScopedSettingsDir settings;
    PtyCamera mono{camsim::Model::RV1240DLX};
    PtyCamera colour{camsim::Model::RVQM52CM14};
    CMainFrame* frame = nullptr;
    std::unique_ptr<MessageBoxRecorder> boxes;
};
Program* g_program = nullptr;

void PutSerial(camsim::Camera& camera, const std::string& serial)
{
    for (std::size_t i = 0; i < serial.size(); ++i)
        camera.Set(kSerialAddress + static_cast<int>(i), static_cast<std::uint8_t>(serial[i]));
}

class AttachedCameraTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        setenv("CLALLSERIAL_LIBRARY", CLSIM_PATH, 1);
        g_program = new Program;
        std::string failure;
        if (!g_program->mono.Start(failure) || !g_program->colour.Start(failure)) {
            ADD_FAILURE() << failure;
            return;
        }
        PutSerial(g_program->mono.camera, "4010237");
        PutSerial(g_program->colour.camera, "5220041");
        if (StartOnSerialPort(g_program->mono.Path(), kReplyTimeOutMs))
            g_program->frame = theApp.m_pMainWnd;
        g_program->boxes = std::make_unique<MessageBoxRecorder>();
    }

    static void TearDownTestSuite()
    {
        g_program->boxes.reset();
        if (g_program->frame)
            CloseProgram();
        g_ComIF.Close();
        delete g_program;
        g_program = nullptr;
    }

    void SetUp() override { ASSERT_NE(g_program->frame, nullptr) << "the program did not start"; }

    static CMainFrame& Frame() { return *g_program->frame; }
    static CVireoView& View() { return *Frame().GetActiveView(); }
    static std::string Status() { return Frame().GetCameraStatus()->Text().toStdString(); }
    static CModelMismatchBar& Bar() { return *Frame().GetModelMismatchBar(); }

    // The port now names this camera's pseudo-terminal, as COMM Setup's OK leaves it.
    static void Attach(PtyCamera& camera)
    {
        g_ComIF.m_Rs232c.m_Settings.PortName = camera.Path();
        ASSERT_TRUE(g_ComIF.Open());
        Frame().OnPortOpened();
    }
};

TEST_F(AttachedCameraTest, StatusBarNamesTheCameraAndTheBarOffersItsPages)
{
    // At start: the stored port, identified once.
    EXPECT_EQ(Status(), g_program->mono.Path() + " \u2014 RV1240DLX 4010237");

    struct Row {
        PtyCamera* camera;
        const char* chosen;
        std::string status;
        std::string notice; // empty: the bar is hidden
        const char* button;
    };
    const std::string mono = g_program->mono.Path();
    const std::string colour = g_program->colour.Path();
    const Row rows[] = {
        {&g_program->mono, "RV1240DLX", mono + " \u2014 RV1240DLX 4010237", "", ""},
        {&g_program->mono, "RVQM52CM14", mono + " \u2014 RV1240DLX 4010237",
         "The camera on " + mono + " is an RV1240DLX; the pages are for the RVQM52CM14.",
         "Use RV1240DLX pages"},
        {&g_program->colour, "RVQM52CM14", colour + " \u2014 RVQM52CM14 5220041", "", ""},
        {&g_program->colour, "RV1250LX", colour + " \u2014 RVQM52CM14 5220041",
         "The camera on " + colour + " is an RVQM52CM14; the pages are for the RV1250LX.",
         "Use RVQM52CM14 pages"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.status + " / " + row.chosen);
        Attach(*row.camera);
        ChooseModel(View(), row.chosen);
        EXPECT_EQ(Status(), row.status);
        EXPECT_EQ(Bar().isVisible(), !row.notice.empty());
        if (row.notice.empty())
            continue;
        EXPECT_EQ(Bar().Text()->text().toStdString(), row.notice);
        // The window grew by the bar: the form below it is whole.
        EXPECT_EQ(View().mapTo(&Frame(), QPoint(0, View().height())).y(),
                  Frame().height() - Frame().GetCameraStatus()->height());
        EXPECT_EQ(Bar().Button()->text().toStdString(), row.button);
        EXPECT_FALSE(Bar().Button()->accessibleName().isEmpty());
        QTest::mouseClick(Bar().Button(), Qt::LeftButton);
        const std::string model = camsim::ModelName(row.camera->camera.GetModel());
        EXPECT_EQ(View().ChosenModelName(), model);
        EXPECT_FALSE(Bar().isVisible());
    }

    // A camera that does not answer is said so, and offers no pages.
    g_program->mono.camera.SetFaults({camsim::Fault::Silent, false, 0, 0});
    Attach(g_program->mono);
    EXPECT_EQ(Status(), mono + " \u2014 no camera answers");
    EXPECT_FALSE(Bar().isVisible());
    EXPECT_TRUE(g_program->boxes->Boxes().empty()) << "the status bar tells it, not a box";
    g_program->mono.camera.SetFaults({});
}

// The title names the inventory camera chosen while its port is the one open.
TEST_F(AttachedCameraTest, TheTitleNamesTheInventoryCameraInUse)
{
    const ScopedConfigHome config;
    config.WriteInventory("[cameras.line3-cam1]\nport = \"" + g_program->mono.Path() +
                          "\"\nmodel = \"RV1240DLX\"\n");
    struct Row {
        PtyCamera* camera;
        const char* stored;
        std::string title;
    };
    const Row rows[] = {
        {&g_program->mono, "line3-cam1", "VireoStudio - line3-cam1"},
        {&g_program->colour, "line3-cam1", "VireoStudio"}, // another port
        {&g_program->mono, "", "VireoStudio"},
        {&g_program->mono, "line3-cam9", "VireoStudio"}, // not in the inventory
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored);
        inventory::StoreCameraName(row.stored);
        Attach(*row.camera);
        // On a short screen the camera's line follows in the title.
        const std::string folded =
            Frame().GetCameraStatus()->isHidden() ? " - " + Status() : std::string();
        EXPECT_EQ(Frame().windowTitle().toStdString(), row.title + folded);
    }
    inventory::StoreCameraName("");
    Attach(g_program->mono);
}

TEST_F(AttachedCameraTest, WithoutAnOpenPortNoPageReads)
{
    g_ComIF.Close();
    Frame().OnPortOpened();
    EXPECT_EQ(Status(), "no port open");
    g_program->mono.camera.ClearRequests();
    g_program->colour.camera.ClearRequests();
    ChooseModel(View(), "RV1240DLX");
    QTabBar* tabs = View().GetTabCtrl(IDC_TAB_RV1240).Widget()->Bar();
    for (int tab = 0; tab < tabs->count(); ++tab)
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
    ChooseModel(View(), "RVQM52CM14");
    EXPECT_TRUE(g_program->mono.camera.Requests().empty());
    EXPECT_TRUE(g_program->colour.camera.Requests().empty());
    Attach(g_program->mono);
}

} // namespace
