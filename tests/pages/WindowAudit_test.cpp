// The window's audit trail: each way the window changes a camera appends a chained line with the
// values before and after; the window and vireoctl share one trail; a trail that cannot be
// written is told once and stops nothing; a load is kept in a bank only once verified; Change
// History lists the camera's lines newest first.
#include "app/CameraSettingsMenu.h"
#include "app/ChangeHistoryDlg.h"
#include "app/MainFrame.h"
#include "app/SplashWnd.h"
#include "app/VireoView.h"
#include "app/WindowAudit.h"
#include "camera/audit/Sha256.h"
#include "camera/settings/SettingsTransfer.h"
#include "platform/profile/Profile.h"
#include "platform/ui/OpenFileDialog.h"
#include "res/Resource.h"
#include "res/ids/Rv1240.h"
#include "tests/pages/PageFixture.h"
#include "tests/support/Process.h"

#include <QLabel>
#include <QTableWidget>

#include <algorithm>
#include <fstream>
#include <future>
#include <map>
#include <sstream>

using namespace page_test;

namespace {

constexpr int kUserGainTab = 2;
constexpr int kMemoryTab = 3;

class OpenAnswer : public ui::OpenFileDialog {
public:
    OpenAnswer() { ui::SetOpenFileDialog(this); }
    ~OpenAnswer() override { ui::SetOpenFileDialog(nullptr); }
    std::optional<std::string> Ask(QWidget*, const ui::OpenFileRequest&) override { return path; }
    std::optional<std::string> path;
};

std::vector<std::string> FileLines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class WindowAudit : public PageFixture {
protected:
    WindowAudit() : PageFixture(camsim::Model::RV1240DLX)
    {
        CSplashWnd::EnableSplashScreen(false);
        trail = settings.Path() + "/trail/audit.jsonl";
        profile::WriteProfileString("Settings\\Audit", "File", trail);
        ResetAuditWarning();
        frame = new CMainFrame;
        EXPECT_TRUE(frame->LoadFrame());
        view = frame->GetActiveView();
        view->OnInitialUpdate();
        pages::CCmdPage::SetReadRule({});
        frame->GetCameraSettingsMenu()->SetCamera(
            {&link, [](CameraModel) { return theApp.m_pBaseReg1240; }});
        frame->GetCameraSettingsMenu()->m_askBank = [this](QWidget*) { return keep; };
        for (CRVXReg* map : {theApp.m_pBaseReg1240, theApp.m_pBaseReg1250, theApp.m_pBaseRegQM52})
            WatchRegisterWrites(*map);
        AttachedCamera camera;
        camera.portOpen = true;
        camera.port = "/dev/pts/sim";
        camera.model = "RV1240DLX";
        camera.serial = "S000001";
        SetAuditedCamera(camera);
        ui::ComboBox models = view->GetComboBox(IDC_COMBO_MODEL);
        Choose(*view, IDC_COMBO_MODEL, models.FindStringExact(-1, "RV1240DLX"));
    }
    ~WindowAudit() override
    {
        SetAuditedCamera({});
        for (CRVXReg* map : {theApp.m_pBaseReg1240, theApp.m_pBaseReg1250, theApp.m_pBaseRegQM52})
            map->SetWriteWatch({});
        delete frame;
    }

    void ChooseTab(int index)
    {
        view->GetTabCtrl(IDC_TAB_RV1240).Widget()->Bar()->setCurrentIndex(index);
    }

    // A settings file of the camera's values with OutLevelGain set to gain.
    std::string SettingsFileWith(int gain)
    {
        SaveOutcome saved =
            ReadCameraSettings(CameraModel::RV1240DLX, &link, *theApp.m_pBaseReg1240, nullptr, {});
        EXPECT_TRUE(saved.Ok());
        for (auto& [name, value] : saved.file.values)
            if (name == "OutLevelGain")
                value = gain;
        const std::string path = settings.Path() + "/gain" + std::to_string(gain) + ".json";
        std::ofstream(path) << SettingsToJson(saved.file);
        fileValues = saved.file.values.size();
        return path;
    }

    std::vector<AuditEntry> Entries() const
    {
        std::string error;
        if (!std::ifstream(trail))
            return {};
        std::vector<AuditEntry> entries = ReadAudit(trail, error);
        EXPECT_EQ(error, "");
        return entries;
    }

    std::string trail;
    std::size_t fileValues = 0;
    LoadBankChoice keep;
    testing_support::MessageBoxRecorder boxes;
    OpenAnswer open;
    CMainFrame* frame = nullptr;
    CVireoView* view = nullptr;
};

std::uint8_t Register(camsim::Camera& camera, int address)
{
    return camera.Registers()[static_cast<std::size_t>(address)];
}

} // namespace

TEST_F(WindowAudit, EachWayTheWindowChangesTheCameraAppendsAChainedLine)
{
    const int gain = Register(camera, 0x64);
    struct Row {
        const char* name;
        std::function<void()> act;
        std::string what; // the line's setting or register
        std::string before, after;
        bool fromFile;
    };
    std::string file;
    const Row rows[] = {
        {"page Apply",
         [&] {
             ChooseTab(kUserGainTab);
             Scroll(view->m_cmd40UsrGain, IDC_40GAIN_GAIN_BAR, ui::SB_LINERIGHT);
             Click(view->m_cmd40UsrGain, IDC_40GAIN_APPLY);
         },
         "register 100", std::to_string(gain), std::to_string(gain + 1), false},
        {"memory bank save",
         [&] {
             ChooseTab(kMemoryTab);
             Click(view->m_cmd40Mem, IDC_40MEM_BANK2);
             Click(view->m_cmd40Mem, IDC_40MEM_SAVE);
         },
         "register 81", "", "2", false},
        // The camera clears the update register once it has acted on it.
        {"main view Update", [&] { Click(*view, IDC_BUTTON_UPDATE); }, "register 110", "", "0",
         false},
        {"File > Load",
         [&] {
             open.path = file = SettingsFileWith(gain + 5);
             frame->OnCommand(ID_FILE_LOAD_CAMERA_SETTINGS);
         },
         "OutLevelGain", std::to_string(gain + 1), std::to_string(gain + 5), true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::size_t had = Entries().size();
        row.act();
        const std::vector<AuditEntry> entries = Entries();
        ASSERT_GT(entries.size(), had);
        const auto line =
            std::find_if(entries.begin() + static_cast<std::ptrdiff_t>(had), entries.end(),
                         [&](const AuditEntry& e) { return e.what == row.what; });
        ASSERT_NE(line, entries.end());
        EXPECT_EQ(line->program, "VireoStudio");
        EXPECT_EQ(line->port, "/dev/pts/sim");
        EXPECT_EQ(line->model + " " + line->serial, "RV1240DLX S000001");
        EXPECT_EQ(line->before, row.before);
        EXPECT_EQ(line->after, row.after);
        EXPECT_EQ(line->result, "ok");
        // A load's lines name the file and its hash, one line per setting of the file.
        const std::string raw = FileLines(trail)[static_cast<std::size_t>(line - entries.begin())];
        EXPECT_EQ(raw.find("\"file_sha256\":\"" + Sha256Hex([&] {
                               std::ifstream in(file);
                               std::stringstream text;
                               text << in.rdbuf();
                               return text.str();
                           }()) +
                           "\"") != std::string::npos,
                  row.fromFile);
        if (row.fromFile) {
            EXPECT_EQ(entries.size() - had, fileValues)
                << "one line per setting, none per register";
        }
    }
    std::string error;
    EXPECT_FALSE(VerifyAudit(trail, error));
    EXPECT_EQ(error, "");
    EXPECT_TRUE(boxes.Boxes().size() == 1 &&
                boxes.Boxes()[0].text.find("(live only: lost at power-off)") != std::string::npos);
}

TEST_F(WindowAudit, AnUnwritableTrailIsToldOnceAndTheChangesAreMade)
{
    std::ofstream(settings.Path() + "/file") << "x";
    profile::WriteProfileString("Settings\\Audit", "File", settings.Path() + "/file/audit.jsonl");
    for (int i = 0; i < 3; ++i)
        Click(*view, IDC_BUTTON_UPDATE);
    const std::vector<std::string> writes = Writes();
    EXPECT_EQ(std::count(writes.begin(), writes.end(), WriteFrame(0x6E, 1)), 3);
    ASSERT_EQ(boxes.Boxes().size(), 1u);
    EXPECT_EQ(boxes.Boxes()[0].caption, "Audit Trail");
    EXPECT_NE(boxes.Boxes()[0].text.find("cannot open " + settings.Path() + "/file"),
              std::string::npos)
        << boxes.Boxes()[0].text;
}

TEST_F(WindowAudit, ALoadIsStoredInTheChosenBankOnlyOnceVerified)
{
    keep.bank = 2;
    const std::string file = SettingsFileWith(7);
    struct Row {
        const char* name;
        bool refuseGain;
        bool stored;
        const char* says;
    };
    const Row rows[] = {
        {"a refused write rolls back", true, false, "did not succeed"},
        {"a verified load", false, true, "(stored in bank 2)"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        link.refuse.clear();
        if (row.refuseGain)
            link.refuse.insert(WriteFrame(0x64, 7));
        Fresh();
        const std::size_t told = boxes.Boxes().size();
        open.path = file;
        frame->OnCommand(ID_FILE_LOAD_CAMERA_SETTINGS);
        const std::vector<std::string> writes = Writes();
        const auto bank = std::find(writes.begin(), writes.end(), WriteFrame(0x51, 2));
        EXPECT_EQ(bank != writes.end(), row.stored);
        if (row.stored) {
            EXPECT_EQ(bank + 1, writes.end()) << "stored after every setting was written";
        }
        ASSERT_EQ(boxes.Boxes().size(), told + 1);
        EXPECT_NE(boxes.Boxes().back().text.find(row.says), std::string::npos)
            << boxes.Boxes().back().text;
    }
}

TEST_F(WindowAudit, ChangeHistoryListsTheCamerasChangesNewestFirst)
{
    for (int value : {1, 2, 3}) {
        AuditChange change;
        change.setting = "OutLevelGain";
        change.before = value - 1;
        change.after = value;
        change.result = "ok";
        RecordWindowChange(change);
    }
    AttachedCamera other = AuditedCamera();
    other.serial = "S000002";
    SetAuditedCamera(other);
    AuditChange change;
    change.address = 0x6E;
    change.result = "ok";
    RecordWindowChange(change);

    AttachedCamera camera = other;
    camera.serial = "S000001";
    CChangeHistoryDlg history(nullptr, camera, trail);
    QTableWidget* table = history.Table();
    EXPECT_FALSE(table->accessibleName().isEmpty());
    EXPECT_EQ(table->editTriggers(), QAbstractItemView::NoEditTriggers);
    ASSERT_EQ(table->rowCount(), 3);
    for (int row = 0; row < 3; ++row) {
        EXPECT_EQ(table->item(row, 2)->text(), "OutLevelGain");
        EXPECT_EQ(table->item(row, 4)->text(), QString::number(3 - row));
    }

    struct Row {
        const char* name;
        AttachedCamera camera;
        std::string path;
        const char* note;
    };
    const Row notes[] = {
        {"no port", {}, trail, "No camera is connected"},
        {"no trail", camera, settings.Path() + "/none.jsonl", "does not exist"},
        {"unreadable", camera, settings.Path(), "cannot be read"},
    };
    for (const Row& row : notes) {
        SCOPED_TRACE(row.name);
        CChangeHistoryDlg dialog(nullptr, row.camera, row.path);
        EXPECT_TRUE(dialog.Note()->text().contains(row.note))
            << dialog.Note()->text().toStdString();
        EXPECT_EQ(dialog.Table()->rowCount(), 0);
    }
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
    auto run = [&](const std::string& port) {
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

    const std::vector<AuditEntry> entries = Entries();
    EXPECT_EQ(FileLines(trail).size(), 45u);
    ASSERT_EQ(entries.size(), 45u) << "every line whole";
    std::map<std::string, int> next; // each writer's lines in the order it made its changes
    for (const AuditEntry& entry : entries) {
        if (entry.program == "VireoStudio") {
            ++next[entry.program];
            continue;
        }
        EXPECT_EQ(entry.after, std::to_string(next[entry.port]++)) << entry.port;
    }
    EXPECT_EQ(next["VireoStudio"], 15);
    EXPECT_EQ(next[a.device], 15);
    EXPECT_EQ(next[b.device], 15);
    std::string error;
    EXPECT_FALSE(VerifyAudit(trail, error));
    EXPECT_EQ(error, "");
}
