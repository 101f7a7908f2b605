// The File menu's camera-settings items on a simulated camera: enabled once a model is chosen,
// a save and a load through the file dialogs, the progress dialog and its "Cancel", bad files.
#include "app/AttachedCamera.h"
#include "app/CameraSettingsMenu.h"
#include "app/IdentifyCamera.h"
#include "app/MainFrame.h"
#include "app/SplashWnd.h"
#include "app/VireoView.h"
#include "camera/inventory/ChosenCamera.h"
#include "camera/RVXReg.h"
#include "camera/settings/CameraIdentity.h"
#include "platform/ui/Menu.h"
#include "platform/ui/OpenFileDialog.h"
#include "platform/ui/SaveFileDialog.h"
#include "res/Resource.h"
#include "res/Resources.h"
#include "tests/camera/CamsimLink.h"
#include "tests/platform/ui/GuiTest.h"
#include "tests/support/TestEnvironment.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QComboBox>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

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
    std::optional<std::string> Ask(QWidget*, const ui::OpenFileRequest& request) override
    {
        openRequest = request;
        return path;
    }
    ui::SaveFileRequest saveRequest;
    ui::OpenFileRequest openRequest;
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
        menu->m_askBank = [](QWidget*) { return LoadBankChoice{}; };
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

    ScopedSettingsDir settings; // the stored folders
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
    QAction* save = Item("&Save Camera Settings...");
    QAction* load = Item("&Load Camera Settings...");
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
    EXPECT_EQ(answers.saveRequest.proposedName, "RVQM52CM14-5220041.json");
    EXPECT_TRUE(answers.saveRequest.overwritePrompt);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Saved 18 settings of RVQM52CM14 to " + *answers.path);

    camera.Set(0x78, 100); // R gain low
    camera.Set(0x7D, 0);   // gamma off
    load->trigger();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, "Loaded 18 settings of RVQM52CM14 from " + *answers.path +
                                         " (live only: lost at power-off)");
    EXPECT_EQ(camera.Registers(), before);
    EXPECT_EQ(refreshed, std::vector<CameraModel>{CameraModel::RVQM52CM14});
}

// A load that fails half-way puts the camera's old values back and names each setting.
TEST_F(CameraSettingsMenuTest, AFailedLoadLeavesTheCameraAsItWas)
{
    Choose("RVQM52CM14");
    answers.path = dir + "/cam.json";
    menu->OnSaveCameraSettings();
    camera.Set(0x78, 100); // R gain low
    camera.Set(0x7D, 0);   // gamma off
    const auto before = camera.Registers();
    link.refuse = {"7D01"}; // the camera refuses gamma on
    menu->OnLoadCameraSettings();
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    const std::string text = boxes.Boxes()[1].text;
    EXPECT_EQ(text.rfind("Loading " + *answers.path + " into the RVQM52CM14 did not succeed.\n", 0),
              0u)
        << text;
    EXPECT_NE(text.find("\nGamma: sent 1 (not written: [NAK] Recieved); restored to 0\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(text.substr(text.size() - 38), "The camera holds its old values again.") << text;
    EXPECT_EQ(camera.Registers(), before);
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

TEST_F(CameraSettingsMenuTest, ACameraOfAnotherModelIsRefusedNamingBoth)
{
    // The camera is an RVQM52CM14.
    struct Row {
        const char* action;
        const char* chosen;
        bool silent;
        std::string message;
    };
    const Row rows[] = {
        {"save", "RV1240DLX", false,
         "The camera is an RVQM52CM14, not the chosen RV1240DLX.\nNo file was written."},
        {"load", "RV1240DLX", false,
         "The camera is an RVQM52CM14, not the chosen RV1240DLX.\nNothing was sent to the camera."},
        {"save", "RVQM52BM14", false,
         "The camera is an RVQM52CM14, not the chosen RVQM52BM14.\nNo file was written."},
        {"save", "RVQM52CM14", true, "The camera's model could not be read: "},
        {"load", "RVQM52CM14", true, "The camera's model could not be read: "},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.action) + " with " + row.chosen);
        Choose(row.chosen);
        const std::string path = dir + "/" + row.action + "-" + row.chosen + ".json";
        answers.path = path;
        if (std::string(row.action) == "load")
            std::ofstream(path) << R"({"format": "VireoStudio camera settings", "version": 1,
                                      "model": ")"
                                << row.chosen << R"(", "settings": {"BitInfo": 0}})";
        camsim::Faults faults;
        faults.fault = row.silent ? camsim::Fault::Silent : camsim::Fault::None;
        camera.SetFaults(faults);
        const auto before = camera.Registers();
        const std::size_t boxesBefore = boxes.Boxes().size();
        camera.ClearRequests();

        if (std::string(row.action) == "save")
            menu->OnSaveCameraSettings();
        else
            menu->OnLoadCameraSettings();

        const auto shown = boxes.Boxes();
        ASSERT_EQ(shown.size(), boxesBefore + 1);
        EXPECT_EQ(shown.back().text.substr(0, row.message.size()), row.message)
            << shown.back().text;
        EXPECT_EQ(camera.Registers(), before);
        for (const std::string& request : camera.Requests()) {
            EXPECT_EQ(request.substr(request.size() - 2), "RQ") << "only reads: " << request;
        }
        if (std::string(row.action) == "save") {
            EXPECT_FALSE(std::ifstream(path).good()) << "no file written";
        }
    }
    camera.SetFaults({});
    EXPECT_TRUE(refreshed.empty());
}

TEST_F(CameraSettingsMenuTest, IdentifyCameraShowsItAndOffersToChooseItsModel)
{
    view->CreatePageTabs();
    CIdentifyCamera identify(&window, view, &link);
    auto* models = qobject_cast<QComboBox*>(view->GetDlgItem(IDC_COMBO_MODEL));
    struct Row {
        const char* chosen; // "" for none
        const char* press;  // the offer's button, or nullptr when no offer is expected
        const char* chosenAfter;
    };
    const Row rows[] = {
        {"RVQM52CM14", nullptr, "RVQM52CM14"},
        {"RV1240DLX", "Close", "RV1240DLX"},
        {"RV1240DLX", "Choose RVQM52CM14", "RVQM52CM14"},
        {"", "Choose RVQM52CM14", "RVQM52CM14"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.chosen) + " / " + (row.press ? row.press : "-"));
        models->setCurrentIndex(models->findText(row.chosen));
        view->SelectModelPages();
        const std::size_t boxesBefore = boxes.Boxes().size();
        std::string offered;
        if (row.press)
            gui_test::WhenModal([&](QWidget* modal) {
                auto* box = qobject_cast<QMessageBox*>(modal);
                ASSERT_NE(box, nullptr);
                EXPECT_EQ(box->windowTitle(), "Identify Camera");
                offered = box->text().toStdString();
                for (QAbstractButton* button : box->buttons())
                    if (button->text() == row.press)
                        button->click();
            });
        identify.OnIdentifyCamera();
        std::string text = offered;
        if (!row.press) {
            ASSERT_EQ(boxes.Boxes().size(), boxesBefore + 1);
            text = boxes.Boxes().back().text;
            EXPECT_EQ(boxes.Boxes().back().caption, "Identify Camera");
        }
        for (const char* part : {"Vendor: ", "\nModel: RVQM52CM14",
                                 "\nSerial number: ", "\nCPU version: ", "\nFPGA version: "})
            EXPECT_NE(text.find(part), std::string::npos) << part << " in " << text;
        if (row.press) {
            EXPECT_NE(text.find(*row.chosen ? "The model list has RV1240DLX chosen."
                                            : "No model is chosen in the model list."),
                      std::string::npos)
                << text;
        }
        EXPECT_EQ(models->currentText().toStdString(), row.chosenAfter);
        EXPECT_EQ(!view->GetDlgItem(IDC_TAB_RVQM52C)->isHidden(),
                  std::string(row.chosenAfter) == "RVQM52CM14")
            << "the chosen model's pages are on show";
    }

    // A camera that does not answer: one box that says so.
    camsim::Faults silent;
    silent.fault = camsim::Fault::Silent;
    camera.SetFaults(silent);
    const std::size_t boxesBefore = boxes.Boxes().size();
    identify.OnIdentifyCamera();
    ASSERT_EQ(boxes.Boxes().size(), boxesBefore + 1);
    EXPECT_EQ(boxes.Boxes().back().text.rfind("The camera could not be identified: ", 0), 0u)
        << boxes.Boxes().back().text;
    camera.SetFaults({});
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
    frameMenu->m_askBank = [](QWidget*) { return LoadBankChoice{}; };
    auto* models = qobject_cast<QComboBox*>(frame.GetActiveView()->GetDlgItem(IDC_COMBO_MODEL));
    models->setCurrentIndex(models->findText("RVQM52CM14"));
    answers.path = dir + "/frame.json";
    frame.OnCommand(ID_FILE_SAVE_CAMERA_SETTINGS);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].text, "Saved 18 settings of RVQM52CM14 to " + *answers.path);
    frame.OnCommand(ID_FILE_LOAD_CAMERA_SETTINGS);
    ASSERT_EQ(boxes.Boxes().size(), 2u);
    EXPECT_EQ(boxes.Boxes()[1].text, "Loaded 18 settings of RVQM52CM14 from " + *answers.path +
                                         " (live only: lost at power-off)");
}

TEST_F(CameraSettingsMenuTest, SaveProposesModelAndSerialAndTheDialogsOpenWhereTheLastOneWas)
{
    Choose("RVQM52CM14");
    struct Row {
        const char* serial; // 7 characters, as the camera holds them
        const char* subfolder;
        const char* proposed;
    };
    const Row rows[] = {
        {"5220041", "a", "RVQM52CM14-5220041.json"},
        {"A/B:C.1", "b", "RVQM52CM14-A_B_C.1.json"},
        {".x*y-_9", "a", "RVQM52CM14-x_y-_9.json"},
    };
    std::string lastFolder; // none stored yet
    for (const Row& row : rows) {
        SCOPED_TRACE(row.serial);
        for (int i = 0; i < 7; ++i)
            camera.Set(0x20 + i, static_cast<std::uint8_t>(row.serial[i]));
        const std::string folder = dir + "/" + row.subfolder;
        std::filesystem::create_directories(folder);
        answers.path = folder + "/" + row.proposed;
        menu->OnSaveCameraSettings();
        EXPECT_EQ(answers.saveRequest.proposedName, row.proposed);
        EXPECT_EQ(answers.saveRequest.folder, lastFolder);
        EXPECT_TRUE(std::ifstream(*answers.path).good());
        lastFolder = folder;
    }
    // Load opens in the folder of the last save, and a load's folder is the next one's.
    answers.path = dir + "/b/RVQM52CM14-A_B_C.1.json";
    menu->OnLoadCameraSettings();
    EXPECT_EQ(answers.openRequest.folder, dir + "/a");
    menu->OnLoadCameraSettings();
    EXPECT_EQ(answers.openRequest.folder, dir + "/b");
}

TEST_F(CameraSettingsMenuTest, EveryMenuItemHasAnAccessLetterOfItsOwnWithinItsMenu)
{
    // The letter after a single '&', or none.
    const auto letter = [](const QString& caption) -> QChar {
        for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
            if (caption[i] != QLatin1Char('&'))
                continue;
            if (caption[i + 1] != QLatin1Char('&'))
                return caption[i + 1].toUpper();
            ++i;
        }
        return {};
    };
    std::vector<std::pair<QString, QList<QAction*>>> menus{
        {"menu bar", window.menuBar()->actions()}};
    int items = 0;
    for (std::size_t m = 0; m < menus.size(); ++m) {
        const auto [name, actions] = menus[m];
        std::set<QChar> letters;
        for (QAction* action : actions) {
            if (action->isSeparator())
                continue;
            ++items;
            const QChar access = letter(action->text());
            EXPECT_FALSE(access.isNull())
                << name.toStdString() << ": " << action->text().toStdString();
            EXPECT_TRUE(letters.insert(access).second)
                << name.toStdString() << ": " << action->text().toStdString()
                << " repeats a letter";
            if (QMenu* sub = action->menu())
                menus.emplace_back(action->text(), sub->actions());
        }
    }
    EXPECT_EQ(items, 12) << "four menus and their eight items";
}

// A camera of the inventory that is not the one the inventory names is saved from or loaded
// into only when the user says so; a load let go on records the camera's serial number.
TEST_F(CameraSettingsMenuTest, AReplacedInventoryCameraIsWrittenOnlyWhenTheUserSaysSo)
{
    const ScopedConfigHome config;
    const std::string head = "# line 3\n[cameras.line3-cam2]  # by the conveyor\n"
                             "port = \"/dev/ttyS7\"\nmodel = \"RVQM52CM14\"\n";
    const std::string original = head + "serial = \"5220099\"   # fitted 2024\n";
    const std::string updated = head + "serial = \"5220041\"   # fitted 2024\n";
    config.WriteInventory(original);
    link.PortType = PORT_RS232C;
    link.m_Rs232c.m_Settings.PortName = "/dev/ttyS7";
    inventory::StoreCameraName("line3-cam2");
    menu->SetAttachedCamera([] {
        AttachedCamera attached;
        attached.portOpen = true;
        attached.port = "/dev/ttyS7";
        attached.model = "RVQM52CM14";
        attached.serial = "5220041"; // the simulated camera's
        return attached;
    });
    Choose("RVQM52CM14");
    answers.path = dir + "/cam.json";
    struct Row {
        bool load;
        bool yes;
        std::size_t questions; // asked so far
        bool done;             // the file written, or the settings sent
        std::string inventory;
        bool cancelBank = false; // Cancel where the loaded settings are to be kept
    };
    const Row rows[] = {
        {false, false, 1, false, original},
        {false, true, 2, true, original},
        {true, false, 3, false, original},
        // Yes, then Cancel before anything is written: the inventory is as it was.
        {true, true, 4, false, original, true},
        {true, true, 5, true, updated},
        // The inventory names the camera now: nothing is asked.
        {true, false, 5, true, updated},
    };
    const std::string line = "line3-cam2: camera replaced: expected RVQM52CM14 5220099, found "
                             "RVQM52CM14 5220041.\n";
    for (const Row& row : rows) {
        SCOPED_TRACE(std::string(row.load ? "load" : "save") + (row.yes ? " yes" : " no"));
        boxes.Answer(row.yes);
        // Gamma is saved on and loaded over off.
        camera.Set(0x7D, row.load ? 0 : 1);
        if (!row.load)
            std::filesystem::remove(*answers.path);
        link.ClearSent();
        menu->m_askBank = [&row](QWidget*) {
            return row.cancelBank ? std::nullopt : std::optional(LoadBankChoice{});
        };
        if (row.load)
            menu->OnLoadCameraSettings();
        else
            menu->OnSaveCameraSettings();
        ASSERT_EQ(boxes.Questions().size(), row.questions);
        EXPECT_EQ(boxes.Questions().back().text.rfind(line, 0), 0u)
            << boxes.Questions().back().text;
        if (row.load) {
            EXPECT_EQ(link.Writes().empty(), !row.done) << "a refused load writes nothing";
            EXPECT_EQ(camera.Get(0x7D), row.done ? 1 : 0);
        } else {
            EXPECT_EQ(std::filesystem::exists(*answers.path), row.done);
        }
        EXPECT_EQ(config.ReadInventory(), row.inventory);
    }
}

// The load offers the chosen model's memory banks and no other; a bank it has not is refused
// before anything is written.
TEST_F(CameraSettingsMenuTest, ALoadIsKeptOnlyInABankTheModelHas)
{
    for (const CameraModel model : kCameraModels) {
        SCOPED_TRACE(CameraModelName(model));
        QStringList offered;
        std::function<void()> look = [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog) {
                QTimer::singleShot(0, look);
                return;
            }
            auto* keep = dialog->findChild<QComboBox*>();
            for (int i = 0; keep && i < keep->count(); ++i)
                offered << keep->itemText(i);
            dialog->reject();
        };
        QTimer::singleShot(0, look);
        EXPECT_FALSE(AskLoadBank(&window, MemoryBankCount(model)).has_value());
        ASSERT_EQ(offered.size(), 1 + MemoryBankCount(model));
        EXPECT_EQ(offered.back(), "Also store in memory bank 3");
    }

    Choose("RVQM52CM14");
    answers.path = dir + "/cam.json";
    menu->OnSaveCameraSettings();
    for (const int bank : {5, -1}) {
        SCOPED_TRACE(bank);
        menu->m_askBank = [bank](QWidget*) { return LoadBankChoice{bank}; };
        link.ClearSent();
        menu->OnLoadCameraSettings();
        EXPECT_TRUE(link.Writes().empty());
        EXPECT_NE(boxes.Boxes().back().text.find("has memory banks 0 to 3, no bank " +
                                                 std::to_string(bank)),
                  std::string::npos)
            << boxes.Boxes().back().text;
    }
}

// A NAK is the camera refusing, in the words every other action uses, wherever the window tells
// it; an answer that is no answer keeps its own words.
TEST_F(CameraSettingsMenuTest, ARefusalReadsAsARefusalInIdentifyAndTheStatusBar)
{
    CIdentifyCamera identify(&window, view, &link);
    const std::pair<camsim::Fault, std::string> rows[] = {
        {camsim::Fault::Nak, "the camera refused the request"},
        {camsim::Fault::Garbage, "Camera replies invalid data"},
    };
    for (const auto& [fault, reason] : rows) {
        SCOPED_TRACE(reason);
        camera.SetFaults({fault});
        identify.OnIdentifyCamera();
        AttachedCamera attached;
        attached.portOpen = true;
        attached.port = "/dev/ttyS7";
        CameraIdentity identity;
        attached.result = ReadCameraIdentity(&link, identity);
        camera.SetFaults({});
        EXPECT_EQ(boxes.Boxes().back().text, "The camera could not be identified: " + reason + ".");
        EXPECT_EQ(AttachedCameraText(attached),
                  "/dev/ttyS7 \u2014 the camera could not be identified: " + reason);
    }
}
