// The window's audit trail: each way the window changes a camera appends a chained line; the
// window and vireoctl share one trail; an unwritable trail is told once and stops nothing; a
// load is stored in a bank only once verified; Change History lists newest first.
#include "app/ActionUi.h"
#include "app/CameraSettingsMenu.h"
#include "app/ChangeHistoryDlg.h"
#include "app/MainFrame.h"
#include "app/SplashWnd.h"
#include "app/VireoView.h"
#include "app/WindowAudit.h"
#include "pages/rv1240/Cmd40UsrGain.h"
#include "camera/audit/Sha256.h"
#include "camera/settings/SettingCatalog.h"
#include "camera/settings/SettingsFile.h"
#include "camera/settings/SettingsTransfer.h"
#include "comm/ComIF.h"
#include "tests/camera/CamsimLink.h"
#include "platform/profile/Profile.h"
#include "platform/ui/OpenFileDialog.h"
#include "res/Resource.h"
#include "res/ids/Rv1240.h"
#include "tests/pages/PageFixture.h"
#include "tests/support/Process.h"

#include <QApplication>
#include <QLabel>
#include <QProgressDialog>
#include <QTableWidget>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <thread>
#include <fstream>
#include <future>
#include <map>
#include <set>

using namespace page_test;

namespace {

class OpenAnswer : public ui::OpenFileDialog {
public:
    OpenAnswer() { ui::SetOpenFileDialog(this); }
    ~OpenAnswer() override { ui::SetOpenFileDialog(nullptr); }
    std::optional<std::string> Ask(QWidget*, const ui::OpenFileRequest&) override { return path; }
    std::optional<std::string> path;
};

// Presses "Cancel" in the load's progress window once the camera has taken some writes.
class CancellingLink : public testing_support::CamsimLink {
public:
    using CamsimLink::CamsimLink;
    CResult SendReceive(const char* request, char* reply, std::size_t replySize) override
    {
        const std::string frame(request);
        if (frame.find("RQ") == std::string::npos && ++writes == cancelAfter)
            for (QWidget* window : QApplication::topLevelWidgets())
                if (auto* progress = qobject_cast<QProgressDialog*>(window);
                    progress && progress->isVisible())
                    progress->cancel();
        return CamsimLink::SendReceive(request, reply, replySize);
    }
    int writes = 0;
    int cancelAfter = 3;
};

// The camera's settings, read by a map of their own (nothing recorded).
std::map<std::string, int> CameraSettings(CComIF& port)
{
    const auto map = MakeRegisterMap(CameraModel::RV1240DLX, &port);
    const SaveOutcome saved = ReadCameraSettings(CameraModel::RV1240DLX, &port, *map, nullptr, {});
    EXPECT_TRUE(saved.Ok());
    return {saved.file.values.begin(), saved.file.values.end()};
}

class WindowAudit : public PageFixture {
protected:
    WindowAudit() : PageFixture(camsim::Model::RV1240DLX), trail(settings.Path() + "/t/a.jsonl")
    {
        CSplashWnd::EnableSplashScreen(false);
        profile::WriteProfileString("Settings\\Audit", "File", trail);
        ResetAuditWarning();
        EXPECT_TRUE(frame->LoadFrame());
        view = frame->GetActiveView();
        view->OnInitialUpdate();
        pages::CCmdPage::SetReadRule({});
        CCameraSettingsMenu* menu = frame->GetCameraSettingsMenu();
        menu->SetCamera({&link, [](CameraModel) { return theApp.m_pBaseReg1240; }});
        menu->m_askBank = [this](QWidget*) { return keep; };
        WatchRegisterWrites(*theApp.m_pBaseReg1240);
        attached.portOpen = true;
        attached.port = "/dev/pts/sim";
        attached.portName = attached.port;
        attached.model = "RV1240DLX";
        attached.serial = "S000001";
        SetAuditedCamera(attached);
        Choose(*view, IDC_COMBO_MODEL,
               view->GetComboBox(IDC_COMBO_MODEL).FindStringExact(-1, "RV1240DLX"));
    }
    ~WindowAudit() override
    {
        SetAuditedCamera({});
        theApp.m_pBaseReg1240->SetWriteWatch({});
        delete frame;
    }

    // A file of the camera's values with OutLevelGain set to gain.
    std::string SettingsFileWith(int gain)
    {
        SaveOutcome saved =
            ReadCameraSettings(CameraModel::RV1240DLX, &link, *theApp.m_pBaseReg1240, nullptr, {});
        for (auto& [name, value] : saved.file.values)
            value = name == "OutLevelGain" ? gain : value;
        fileValues = saved.file.values.size();
        fileHash = Sha256Hex(SettingsToJson(saved.file));
        const std::string path = settings.Path() + "/gain" + std::to_string(gain) + ".json";
        std::ofstream(path) << SettingsToJson(saved.file);
        return path;
    }

    // A file whose every value differs from the camera's, read through port.
    std::string SettingsFileOfOthers(CComIF& port)
    {
        const auto map = MakeRegisterMap(CameraModel::RV1240DLX, &port);
        SaveOutcome saved = ReadCameraSettings(CameraModel::RV1240DLX, &port, *map, nullptr, {});
        EXPECT_TRUE(saved.Ok());
        for (auto& [name, value] : saved.file.values) {
            const SettingDef* def = FindSetting(CameraModel::RV1240DLX, name);
            value = value == def->maximum ? def->minimum : value + 1;
        }
        const std::string path = settings.Path() + "/others.json";
        std::ofstream(path) << SettingsToJson(saved.file);
        return path;
    }

    std::vector<AuditEntry> Entries() const
    {
        std::string error;
        return std::ifstream(trail) ? ReadAudit(trail, error) : std::vector<AuditEntry>{};
    }

    std::string trail;
    AttachedCamera attached;
    std::size_t fileValues = 0;
    std::string fileHash;
    LoadBankChoice keep;
    testing_support::MessageBoxRecorder boxes;
    OpenAnswer open;
    CMainFrame* frame = new CMainFrame;
    CVireoView* view = nullptr;
};

} // namespace

TEST_F(WindowAudit, EachWayTheWindowChangesTheCameraAppendsAChainedLine)
{
    const int gain = camera.Registers()[0x64];
    struct Row {
        const char* name;
        std::function<void()> act;
        std::string what, before, after; // of the row's line
        std::size_t lines;               // one an operation; a load's, one a setting
    };
    const Row rows[] = {
        {"page Apply",
         [&] {
             view->GetTabCtrl(IDC_TAB_RV1240).Widget()->Bar()->setCurrentIndex(2); // UserGain
             Scroll(view->m_cmd40UsrGain, IDC_40GAIN_GAIN_BAR, ui::SB_LINERIGHT);
             Click(view->m_cmd40UsrGain, IDC_40GAIN_APPLY);
         },
         "OutLevelGain", std::to_string(gain), std::to_string(gain + 1), 2},
        {"memory bank save",
         [&] {
             Click(view->m_cmd40Mem, IDC_40MEM_BANK2);
             Click(view->m_cmd40Mem, IDC_40MEM_SAVE);
         },
         "Save Bank Memory (0x2)", "", "2", 1},
        // The camera clears the update register once it has acted on it.
        {"main view Update", [&] { Click(*view, IDC_BUTTON_UPDATE); }, "Register Update Execute",
         "", "0", 1},
        {"File > Load",
         [&] {
             open.path = SettingsFileWith(gain + 5);
             frame->OnCommand(ID_FILE_LOAD_CAMERA_SETTINGS);
         },
         "OutLevelGain", std::to_string(gain + 1), std::to_string(gain + 5), 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::size_t had = Entries().size();
        Fresh();
        row.act();
        const std::vector<AuditEntry> entries = Entries();
        const bool load = std::string(row.name) == "File > Load";
        // One line an operation (the page's offset and gain), none for the load's own writes:
        // one a setting instead.
        EXPECT_EQ(entries.size() - had, load ? fileValues : row.lines);
        const auto line = std::find_if(entries.begin() + static_cast<std::ptrdiff_t>(had),
                                       entries.end(), [&](auto& e) { return e.what == row.what; });
        ASSERT_NE(line, entries.end());
        EXPECT_EQ(line->program + " " + line->port, "VireoStudio /dev/pts/sim");
        EXPECT_EQ(line->model + " " + line->serial, "RV1240DLX S000001");
        EXPECT_EQ(line->before + " -> " + line->after + " " + line->result,
                  row.before + " -> " + row.after + " ok");
        std::ifstream in(trail);
        std::string raw;
        for (auto i = line - entries.begin(); i >= 0; --i)
            std::getline(in, raw);
        EXPECT_EQ(raw.find("\"file_sha256\":\"" + fileHash) != std::string::npos, load);
    }
    std::string error;
    EXPECT_FALSE(VerifyAudit(trail, error));
    EXPECT_EQ(error, "");
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_NE(boxes.Boxes()[0].text.find("(live only: lost at power-off)"), std::string::npos);
}

TEST_F(WindowAudit, AnUnwritableTrailIsToldOnceAndTheChangesAreMade)
{
    std::ofstream(settings.Path() + "/file") << "x";
    profile::WriteProfileString("Settings\\Audit", "File", settings.Path() + "/file/a.jsonl");
    for (int i = 0; i < 3; ++i)
        Click(*view, IDC_BUTTON_UPDATE);
    const std::vector<std::string> writes = Writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), WriteFrame(0x6E, 1)), 3);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Audit Trail");
    EXPECT_NE(boxes.Boxes()[0].text.find("cannot open " + settings.Path() + "/file"),
              std::string::npos);
}

TEST_F(WindowAudit, ALoadIsStoredInTheChosenBankOnlyOnceVerified)
{
    keep.bank = 2;
    open.path = SettingsFileWith(7);
    for (const bool refused : {true, false}) {
        SCOPED_TRACE(refused ? "a refused write rolls back" : "a verified load");
        link.refuse.clear();
        if (refused)
            link.refuse.insert(WriteFrame(0x64, 7));
        Fresh();
        frame->OnCommand(ID_FILE_LOAD_CAMERA_SETTINGS);
        const std::vector<std::string> writes = Writes();
        // Stored last, after every setting was written and read back.
        EXPECT_EQ(!writes.empty() && writes.back() == WriteFrame(0x51, 2), !refused);
        EXPECT_EQ(std::count(writes.begin(), writes.end(), WriteFrame(0x51, 2)), refused ? 0 : 1);
        EXPECT_NE(
            boxes.Boxes().back().text.find(refused ? "did not succeed" : "(stored in bank 2)"),
            std::string::npos);
    }
}

TEST_F(WindowAudit, ChangeHistoryListsTheCamerasChangesNewestFirst)
{
    for (int value : {1, 2, 3, 4}) {
        if (value == 4) { // another camera's change
            attached.serial = "S000002";
            SetAuditedCamera(attached);
        }
        AuditChange change;
        change.setting = "OutLevelGain";
        change.after = value;
        RecordWindowChange(change);
    }
    attached.serial = "S000001";
    CChangeHistoryDlg history(nullptr, attached, trail);
    QTableWidget* table = history.Table();
    EXPECT_FALSE(table->accessibleName().isEmpty());
    EXPECT_EQ(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    ASSERT_EQ(table->rowCount(), 3);
    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(table->item(row, 2)->text() + " " + table->item(row, 4)->text(),
                  QString("OutLevelGain %1").arg(3 - row));

    const std::tuple<AttachedCamera, std::string, QString> notes[] = {
        {AttachedCamera{}, trail, "No camera is connected"},
        {attached, settings.Path() + "/none.jsonl", "does not exist"},
        {attached, settings.Path(), "cannot be read"},
    };
    for (const auto& [camera, path, note] : notes) {
        CChangeHistoryDlg dialog(nullptr, camera, path);
        EXPECT_TRUE(dialog.Note()->text().contains(note)) << dialog.Note()->text().toStdString();
        EXPECT_EQ(dialog.Table()->rowCount(), 0);
    }
}

TEST_F(WindowAudit, ChangeHistoryTellsEachApplysResultUnderTheSettingsFileName)
{
    view->GetTabCtrl(IDC_TAB_RV1240).Widget()->Bar()->setCurrentIndex(2); // UserGain
    CCmd40UsrGain& page = view->m_cmd40UsrGain;
    struct Row {
        int bar;
        std::set<std::string>* fault; // where the gain write goes: refused or ignored
        const char* setting;          // the line the row looks at
        const char* after;            // empty: the value sent; "=": the value before
        QString result;
    };
    const Row rows[] = {
        {IDC_40GAIN_GAIN_BAR, nullptr, "OutLevelGain", "", "Done"},
        // The camera still holds the old value, and says so when read back.
        {IDC_40GAIN_GAIN_BAR, &link.refuse, "OutLevelGain", "=",
         "Failed: the camera refused the request"},
        {IDC_40GAIN_GAIN_BAR, &link.ignore, "OutLevelGain", "not known", "Failed: RS232C Timeout"},
        // Two registers, one setting, one line with the setting's values.
        {IDC_40GAIN_OFFSET_BAR, nullptr, "OutLevelOffset", "", "Done"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.result.toStdString());
        Click(page, IDC_40GAIN_REFRESH);
        const int before = page.BarValue(row.bar);
        Scroll(page, row.bar, ui::SB_LINERIGHT);
        if (row.fault)
            row.fault->insert(WriteFrame(0x64, before + 1));
        const std::size_t had = Entries().size();
        Click(page, IDC_40GAIN_APPLY);
        link.refuse.clear();
        link.ignore.clear();
        // One line for each setting the page wrote, under the settings file's names.
        const std::vector<AuditEntry> now = Entries();
        ASSERT_EQ(now.size(), had + 2);
        EXPECT_EQ(now[had].what + " " + now[had + 1].what, "OutLevelOffset OutLevelGain");
        EXPECT_EQ(now[had].registers.rfind("63: ", 0), 0u) << now[had].registers;

        CChangeHistoryDlg history(nullptr, attached, trail);
        QTableWidget* table = history.Table();
        const int line = table->item(0, 2)->text() == row.setting ? 0 : 1;
        const QString after = *row.after == '=' ? QString::number(before)
                              : *row.after      ? QString(row.after)
                                                : QString::number(before + 1);
        EXPECT_EQ(table->item(line, 2)->text(), row.setting);
        EXPECT_EQ(table->item(line, 3)->text() + " " + table->item(line, 4)->text() + " " +
                      table->item(line, 5)->text(),
                  QString::number(before) + " " + after + " " + row.result);
        const bool marked = row.result != "Done";
        EXPECT_EQ(!table->item(line, 5)->icon().isNull(), marked);
        EXPECT_EQ(table->item(line, 5)->font().bold(), marked);
    }
}

// What the window says after a load that was stopped, or an Update the camera refused, agrees
// with the camera: its registers read back afterwards, the box the user reads, and the trail.
TEST_F(WindowAudit, AStoppedLoadOrARefusedUpdateIsToldAsTheCameraHoldsIt)
{
    enum class Trouble { Cancel, Stall, RefusedUpdate };
    struct Row {
        Trouble trouble;
        std::string box;    // how the box begins
        std::string result; // of each new trail line
    };
    const Row rows[] = {
        {Trouble::Cancel, "Loading was cancelled.\n", "rolled back"},
        // camsim stopped past the reply time-out, then resumed: the write that met it failed.
        {Trouble::Stall, "Loading " + settings.Path() + "/others.json into the RV1240DLX did not",
         "rolled back"},
        {Trouble::RefusedUpdate, "The camera refused the request.", "[NAK] Recieved"},
    };
    new CActionUi(frame); // the window's runner tells what an action left untold
    for (const Row& row : rows) {
        SCOPED_TRACE(row.box);
        const std::size_t had = Entries().size();
        const std::size_t boxesBefore = boxes.Boxes().size();
        CancellingLink cancelling(camera);
        std::unique_ptr<testing_support::CamsimProgram> slow;
        auto port = std::make_unique<CComIF>();
        CComIF* target = &cancelling;
        if (row.trouble == Trouble::Stall) {
            slow = std::make_unique<testing_support::CamsimProgram>(
                CAMSIM_PATH, std::vector<std::string>{"--model", "RV1240DLX", "--baud", "9600"});
            testing_support::UseSimulatedCameraPort(*port, slow->device, 300);
            ASSERT_EQ(port->Open(), 1);
            target = port.get();
        }
        const std::map<std::string, int> before = CameraSettings(*target);
        const std::uint8_t update = camera.Get(0x6E);
        const auto map = MakeRegisterMap(CameraModel::RV1240DLX, target);
        std::thread stall;
        if (row.trouble == Trouble::RefusedUpdate) {
            camera.SetFaults({camsim::Fault::Nak});
            Click(*view, IDC_BUTTON_UPDATE);
            camera.SetFaults({});
        } else {
            open.path = SettingsFileOfOthers(*target);
            CCameraSettingsMenu* menu = frame->GetCameraSettingsMenu();
            menu->SetCamera({target, [&map](CameraModel) { return map.get(); }});
            menu->m_showProgressAfterMs = 0;
            if (slow)
                stall = std::thread([pid = slow->process.Pid()] {
                    std::this_thread::sleep_for(std::chrono::milliseconds(400));
                    ::kill(pid, SIGSTOP);
                    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
                    ::kill(pid, SIGCONT);
                });
            frame->OnCommand(ID_FILE_LOAD_CAMERA_SETTINGS);
            menu->SetCamera({&link, [](CameraModel) { return theApp.m_pBaseReg1240; }});
        }
        if (stall.joinable()) {
            stall.join();
            // The resumed camera answers what it was sent meanwhile; a port of its own reads it.
            port->Close();
            std::this_thread::sleep_for(std::chrono::milliseconds(600));
            ASSERT_EQ(port->Open(), 1);
        }

        // The camera holds its old values, the box says so, and so does every new trail line.
        EXPECT_EQ(CameraSettings(*target), before);
        EXPECT_EQ(camera.Get(0x6E), update);
        std::string box; // the action's own box; a port may have told of its time-out besides
        for (std::size_t i = boxesBefore; i < boxes.Boxes().size(); ++i)
            if (boxes.Boxes()[i].caption != kNoticeTitle)
                box += boxes.Boxes()[i].text;
        EXPECT_EQ(box.rfind(row.box, 0), 0u) << box;
        if (row.trouble != Trouble::RefusedUpdate) {
            EXPECT_NE(box.find("\nThe camera holds its old values again."), std::string::npos)
                << box;
        }
        const std::vector<AuditEntry> lines = Entries();
        ASSERT_GT(lines.size(), had);
        for (std::size_t i = had; i < lines.size(); ++i) {
            const AuditEntry& line = lines[i];
            SCOPED_TRACE(line.what);
            EXPECT_EQ(line.result.rfind(row.result, 0), 0u) << line.result;
            if (line.afterValue && !line.setting.empty()) {
                EXPECT_EQ(*line.afterValue, before.at(line.setting));
            }
        }
        if (row.trouble == Trouble::RefusedUpdate) {
            CChangeHistoryDlg history(nullptr, attached, trail);
            EXPECT_EQ(history.Table()->item(0, 5)->text(),
                      "Failed: the camera refused the request");
        }
    }
    std::string error;
    EXPECT_FALSE(VerifyAudit(trail, error));
}

TEST_F(WindowAudit, TheWindowAndTwoVireoctlRunsShareOneWholeChainedTrail)
{
    const testing_support::CamsimProgram a(CAMSIM_PATH, {"--model", "RVQM52CM14"});
    const testing_support::CamsimProgram b(CAMSIM_PATH, {"--model", "RVQM52CM14"});
    const std::string script = settings.Path() + "/s.txt";
    {
        std::ofstream out(script);
        for (int i = 0; i < 15; ++i)
            out << "write 150 " << std::hex << i << "\n";
    }
    const auto run = [&](const std::string& port) {
        return testing_support::RunProcess(
            {VIREOCTL_PATH, "--port", port, "--audit", trail, "script", script},
            {"XDG_CONFIG_HOME=" + settings.Path() + "/vireoctl"});
    };
    auto first = std::async(std::launch::async, run, a.device);
    auto second = std::async(std::launch::async, run, b.device);
    for (int i = 0; i < 15; ++i)
        Click(*view, IDC_BUTTON_UPDATE);
    EXPECT_EQ(first.get().exitStatus, 0);
    EXPECT_EQ(second.get().exitStatus, 0);

    std::ifstream in(trail);
    const auto lines = std::count(std::istreambuf_iterator<char>(in), {}, '\n');
    const std::vector<AuditEntry> entries = Entries();
    EXPECT_EQ(lines, 45);
    ASSERT_EQ(entries.size(), 45u) << "every line whole";
    std::map<std::string, int> next; // each writer's lines in the order it made its changes
    for (const AuditEntry& entry : entries) {
        const int index = next[entry.port]++;
        if (entry.program == "vireoctl") {
            EXPECT_EQ(entry.after, std::to_string(index)) << entry.port;
        }
    }
    EXPECT_EQ(next,
              (std::map<std::string, int>{{"/dev/pts/sim", 15}, {a.device, 15}, {b.device, 15}}));
    std::string error;
    EXPECT_FALSE(VerifyAudit(trail, error));
    EXPECT_EQ(error, "");
}
