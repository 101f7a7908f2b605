// The File menu's camera-settings items on a simulated camera: enabled once a model is chosen,
// a save and a load through the file dialogs, the progress dialog and its "Cancel", bad files.
#include "app/CameraSettingsMenu.h"
#include "app/MainFrame.h"
#include "app/SplashWnd.h"
#include "app/VireoView.h"
#include "camera/RVXReg.h"
#include "platform/ui/Menu.h"
#include "platform/ui/OpenFileDialog.h"
#include "platform/ui/SaveFileDialog.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/camera/CamsimLink.h"
#include "tests/platform/ui/GuiTest.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <fstream>

using namespace testing_support;

namespace {

class Answers : public ui::SaveFileDialog, public ui::OpenFileDialog {
public:
    Answers()
    {
        ui::SetSaveFileDialog(this);
        ui::SetOpenFileDialog(this);
    }
    ~Answers() override
    {
        ui::SetSaveFileDialog(nullptr);
        ui::SetOpenFileDialog(nullptr);
    }
    std::optional<std::string> Ask(QWidget*, const ui::SaveFileRequest& request) override
    {
        saveRequest = request;
        return path;
    }
    std::optional<std::string> Ask(QWidget*, const ui::OpenFileRequest&) override { return path; }
    ui::SaveFileRequest saveRequest;
    std::optional<std::string> path;
};

class CameraSettingsMenuTest : public ::testing::Test {
protected:
    CameraSettingsMenuTest() : camera(camsim::Model::RVQM52CM14), link(camera)
    {
        dir = MakeTempDir("settings-menu");
        res::Install();
        ui::LoadMenu(window.menuBar(), IDR_MAINFRAME, [this](int command) {
            if (command == ID_FILE_SAVE_CAMERA_SETTINGS)
                menu->OnSaveCameraSettings();
            if (command == ID_FILE_LOAD_CAMERA_SETTINGS)
                menu->OnLoadCameraSettings();
        });
        view = new CVireoView;
        view->Create(&window);
        window.setCentralWidget(view);
        menu = new CCameraSettingsMenu(&window, window.menuBar(), view);
        menu->SetCamera({&link, [this](CameraModel model) {
                             map = MakeRegisterMap(model, &link);
                             return map.get();
                         }});
        menu->SetPageRefresh([this](CameraModel model) { refreshed.push_back(model); });
    }
    ~CameraSettingsMenuTest() override { RemoveTree(dir); }

    QAction* Item(const QString& caption)
    {
        for (QAction* top : window.menuBar()->actions())
            if (top->menu())
                for (QAction* action : top->menu()->actions())
                    if (action->text() == caption)
                        return action;
        return nullptr;
    }

    void Choose(const QString& model)
    {
        auto* models = qobject_cast<QComboBox*>(view->GetDlgItem(IDC_COMBO_MODEL));
        models->setCurrentIndex(models->findText(model));
    }

    camsim::Camera camera;
    CamsimLink link;
    std::unique_ptr<CRVXReg> map;
    QMainWindow window;
    CVireoView* view = nullptr;
    CCameraSettingsMenu* menu = nullptr;
    std::vector<CameraModel> refreshed;
    MessageBoxRecorder boxes;
    Answers answers;
    std::string dir;
};

} // namespace

TEST_F(CameraSettingsMenuTest, SaveThenLoadThroughTheMenuBringsTheSettingsBack)
{
    QAction* save = Item("Save Camera Settings...");
    QAction* load = Item("Load Camera Settings...");
    ASSERT_NE(save, nullptr);
    ASSERT_NE(load, nullptr);
    // Above "Exit", and only once a model is chosen.
    const auto file = window.menuBar()->actions().front()->menu()->actions();
    EXPECT_EQ(file.front(), save);
    EXPECT_EQ(file.back()->text(), "Exit(&X)");
    EXPECT_FALSE(save->isEnabled());
    EXPECT_FALSE(load->isEnabled());
    Choose("RVQM52CM14");
    EXPECT_TRUE(save->isEnabled());
    EXPECT_TRUE(load->isEnabled());

    const auto before = camera.Registers();
    answers.path = dir + "/cam.json";
    save->trigger();
    EXPECT_EQ(answers.saveRequest.proposedName, "RVQM52CM14.json");
    EXPECT_TRUE(answers.saveRequest.overwritePrompt);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Saved 18 settings of RVQM52CM14 to " + *answers.path);

    camera.Set(0x78, 100); // R gain low
    camera.Set(0x7D, 0);   // gamma off
    load->trigger();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, "Loaded 18 settings of RVQM52CM14 from " + *answers.path);
    EXPECT_EQ(camera.Registers(), before);
    EXPECT_EQ(refreshed, std::vector<CameraModel>{CameraModel::RVQM52CM14});
}

TEST_F(CameraSettingsMenuTest, ABadFileOrAnotherModelSendsNothing)
{
    Choose("RVQM52CM14");
    const std::vector<std::pair<std::string, std::string>> files{
        {"{", "cannot be loaded: not JSON"},
        {R"({"format": "VireoStudio camera settings", "version": 1, "model": "RVQM52CM14",
             "settings": {"RGain": 1536}})",
         "cannot be loaded: RGain: 1536 is outside 0..1535"},
        {R"({"format": "VireoStudio camera settings", "version": 1, "model": "RV1250LX",
             "settings": {}})",
         "holds settings of the RV1250LX, not of the chosen RVQM52CM14"},
    };
    answers.path = dir + "/bad.json";
    for (const auto& [text, message] : files) {
        std::ofstream(*answers.path) << text;
        camera.ClearRequests();
        menu->OnLoadCameraSettings();
        ASSERT_FALSE(boxes.Boxes().empty());
        EXPECT_NE(boxes.Boxes().back().text.find(message), std::string::npos)
            << boxes.Boxes().back().text;
        EXPECT_TRUE(camera.Requests().empty()) << "the camera saw no frame";
    }
    EXPECT_TRUE(refreshed.empty());
}

TEST_F(CameraSettingsMenuTest, ALongTransferShowsItsProgressAndCancelStopsIt)
{
    Choose("RVQM52CM14");
    answers.path = dir + "/cam.json";
    menu->OnSaveCameraSettings();
    ASSERT_EQ(boxes.Boxes().size(), 1u);

    // Shown at once here; "Cancel" is pressed as soon as it is up.
    menu->m_showProgressAfterMs = 0;
    QProgressDialog* shown = nullptr;
    std::function<void()> pressCancel = [&] {
        shown = window.findChild<QProgressDialog*>();
        if (!shown) {
            QTimer::singleShot(0, pressCancel);
            return;
        }
        EXPECT_FALSE(shown->accessibleName().isEmpty());
        auto* cancel = shown->findChild<QPushButton*>();
        ASSERT_NE(cancel, nullptr);
        EXPECT_EQ(cancel->accessibleName(), "Cancel");
        cancel->click();
    };
    QTimer::singleShot(0, pressCancel);
    camera.ClearRequests();
    menu->OnLoadCameraSettings();
    EXPECT_NE(shown, nullptr);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text.rfind("Loading was cancelled.\nWritten: ", 0), 0u)
        << boxes.Boxes()[1].text;
    EXPECT_NE(boxes.Boxes()[1].text.find("Not written: "), std::string::npos);
    // Stopped between two operations: fewer than the whole load's exchanges went out.
    EXPECT_LT(camera.Requests().size(), 20u);
}

TEST_F(CameraSettingsMenuTest, TheMainWindowsFileMenuRunsThem)
{
    CSplashWnd::EnableSplashScreen(false);
    CMainFrame frame;
    ASSERT_TRUE(frame.LoadFrame());
    CCameraSettingsMenu* frameMenu = frame.GetCameraSettingsMenu();
    ASSERT_NE(frameMenu, nullptr);
    frameMenu->SetCamera({&link, [this](CameraModel model) {
                              map = MakeRegisterMap(model, &link);
                              return map.get();
                          }});
    auto* models = qobject_cast<QComboBox*>(frame.GetActiveView()->GetDlgItem(IDC_COMBO_MODEL));
    models->setCurrentIndex(models->findText("RVQM52CM14"));
    answers.path = dir + "/frame.json";
    frame.OnCommand(ID_FILE_SAVE_CAMERA_SETTINGS);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Saved 18 settings of RVQM52CM14 to " + *answers.path);
    frame.OnCommand(ID_FILE_LOAD_CAMERA_SETTINGS);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, "Loaded 18 settings of RVQM52CM14 from " + *answers.path);
}
