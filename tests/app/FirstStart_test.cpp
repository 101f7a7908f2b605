// The first start as the run command prepares it, on the simulated grabber: its stored port opens
// without COMM Setup, and with no model chosen the camera's model is chosen. A model chosen
// before stays (the wrong-model bar says so); a silent camera leaves the list asking for one.
#include "app/LogDlg.h"
#include "app/MainFrame.h"
#include "app/ModelMismatchBar.h"
#include "app/VireoApp.h"
#include "app/VireoView.h"
#include "app/WindowSettings.h"
#include "comm/ComIF.h"
#include "platform/profile/Profile.h"
#include "res/Resource.h"
#include "tests/app/GrabberStartup.h"
#include "tests/platform/ui/GuiTest.h"
#include "tests/support/PtyCamera.h"
#include "tests/support/TestEnvironment.h"

#include <QComboBox>
#include <QDialog>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

using namespace testing_support;

TEST(FirstStart, TheCamerasModelIsChosenOnlyWhenNoneIs)
{
    ScopedSettingsDir settings;
    ASSERT_EQ(std::system(
                  ("bash '" SOURCE_DIR "/scripts/demo-config' '" + settings.Path() + "'").c_str()),
              0);
    setenv("CLALLSERIAL_LIBRARY", CLSIM_PATH, 1);
    std::string asked;
    gui_test::WhenModal(
        [&](QWidget* modal) {
            asked = modal->windowTitle().toStdString();
            if (auto* dialog = qobject_cast<QDialog*>(modal))
                dialog->reject();
        },
        2000);
    ASSERT_TRUE(theApp.InitInstance({"VireoStudio"}));
    CMainFrame& frame = *theApp.m_pMainWnd;
    CVireoView& view = *frame.GetActiveView();
    auto* models = qobject_cast<QComboBox*>(view.GetDlgItem(IDC_COMBO_MODEL));

    // The run command's first start: grabber port 0 opened once, with its settings, unasked;
    // its camera's pages on show.
    EXPECT_EQ(asked, "");
    const std::string log = LogWindow()->m_tabComm.Text();
    EXPECT_NE(log.find("Port Open Sucsess CAS No.:0 Vendor:VireoSim"), std::string::npos) << log;
    EXPECT_EQ(view.ChosenModelName(), "RV1240DLX");
    EXPECT_EQ(view.ShownModel(), 0);

    struct Row {
        const char* stored; // the model stored as chosen last; empty: none chosen
        camsim::Fault fault;
        const char* chosen; // after the port was opened
        bool bar;
    };
    const Row rows[] = {
        {"", camsim::Fault::None, "RV1240DLX", false},
        {"RVQM52CM14", camsim::Fault::None, "RVQM52CM14", true},
        {"", camsim::Fault::Silent, "", false},
    };
    PtyCamera camera;
    std::string failure;
    ASSERT_TRUE(camera.Attach(g_ComIF, 300, failure)) << failure;
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.stored) +
                     (row.fault == camsim::Fault::Silent ? " silent" : ""));
        profile::WriteProfileString(kWindowSection, kLastModelEntry, row.stored);
        models->setCurrentIndex(-1);
        view.SelectModelPages();
        view.ChooseStoredModel();
        camera.camera.SetFaults({row.fault, false, 0, 0});
        ASSERT_TRUE(g_ComIF.Open());
        frame.OnPortOpened();
        EXPECT_EQ(view.ChosenModelName(), row.chosen);
        EXPECT_EQ(frame.GetModelMismatchBar()->isVisible(), row.bar);
        // No model: no pages, and the list says what to do.
        EXPECT_EQ(view.ShownModel() < 0, *row.chosen == '\0');
        EXPECT_EQ(models->placeholderText().toStdString(), "Choose the camera model");
    }
    camera.camera.SetFaults({});
    CloseProgram();
    g_ComIF.Close();
}
