#include "app/CameraSettingsMenu.h"

#include "app/LoadRestoreRetry.h"
#include "app/ReplacedCameraCheck.h"
#include "app/TransferProgress.h"
#include "app/VireoApp.h"
#include "app/VireoView.h"
#include "app/WindowAudit.h"
#include "app/WindowSettings.h"
#include "camera/RVQM52BM14Reg.h"
#include "camera/RVX1240Reg.h"
#include "camera/RVX1250Reg.h"
#include "camera/audit/Sha256.h"
#include "platform/files/AtomicFile.h"
#include "camera/settings/SettingsTransfer.h"
#include "pages/FailureText.h"
#include "comm/ComIF.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/ui/OpenFileDialog.h"
#include "platform/ui/SaveFileDialog.h"
#include "platform/ui/UserAction.h"
#include "res/Resource.h"

#include <QAction>
#include <QComboBox>
#include <QMenu>
#include <QMenuBar>

namespace {

constexpr const char* kCaption = "Camera Settings";
constexpr const char* kFilter = "JSON files (*.json)|*.json|All files (*)|*|";

CRVXReg* ProgramMap(CameraModel model)
{
    switch (model) {
    case CameraModel::RV1240DLX:
        return theApp.m_pReg1240;
    case CameraModel::RV1250LX:
        return theApp.m_pReg1250;
    case CameraModel::RVQM52BM14:
    case CameraModel::RVQM52CM14:
        break;
    }
    return theApp.m_pRegQM52;
}

QAction* FindCommand(const QList<QAction*>& actions, int command)
{
    for (QAction* action : actions) {
        if (action->data().toInt() == command && !action->menu())
            return action;
        if (QMenu* menu = action->menu())
            if (QAction* found = FindCommand(menu->actions(), command))
                return found;
    }
    return nullptr;
}

std::string Problems(const std::vector<ValueProblem>& problems)
{
    std::string text;
    for (const ValueProblem& problem : problems)
        text += problem.name + ": " + problem.reason + "\n";
    return text;
}

} // namespace

CCameraSettingsMenu::CCameraSettingsMenu(QWidget* window, QMenuBar* bar, CVireoView* view)
    : QObject(window), m_showProgressAfterMs(CTransferProgress::kShowAfterMs), m_window(window),
      m_view(view), m_camera{&g_ComIF, ProgramMap}
{
    if (bar) {
        m_save = FindCommand(bar->actions(), ID_FILE_SAVE_CAMERA_SETTINGS);
        m_load = FindCommand(bar->actions(), ID_FILE_LOAD_CAMERA_SETTINGS);
    }
    if (view)
        if (auto* models = qobject_cast<QComboBox*>(view->GetDlgItem(IDC_COMBO_MODEL)))
            connect(models, &QComboBox::currentIndexChanged, this, [this] { UpdateItems(); });
    UpdateItems();
}

std::optional<CameraModel> CCameraSettingsMenu::ChosenModel() const
{
    if (!m_view)
        return std::nullopt;
    ui::ComboBox models = m_view->GetComboBox(IDC_COMBO_MODEL);
    const int chosen = models.GetCurSel();
    if (chosen < 0)
        return std::nullopt;
    return CameraModelFromName(models.GetLBText(chosen));
}

void CCameraSettingsMenu::UpdateItems()
{
    const bool chosen = ChosenModel().has_value();
    for (QAction* action : {m_save, m_load})
        if (action)
            action->setEnabled(chosen);
}

void CCameraSettingsMenu::Report(const std::string& text, bool failed)
{
    // Each failure's box names its reason and what was not done: the port's notice is not
    // shown beside it.
    if (failed)
        ui::ActionFailureTold();
    ShowMessageBox(text, kCaption, failed ? MsgIcon::Warning : MsgIcon::Information);
}

std::optional<CCameraSettingsMenu::Target> CCameraSettingsMenu::ChosenTarget() const
{
    const auto model = ChosenModel();
    CRVXReg* map = model && m_camera.map ? m_camera.map(*model) : nullptr;
    if (!map)
        return std::nullopt;
    return Target{*model, map, CameraModelName(*model)};
}

void CCameraSettingsMenu::ReportLoaded(const std::string& text, CRVXReg& map,
                                       const LoadBankChoice& keep)
{
    if (!keep.bank) {
        Report(text + " (live only: lost at power-off)", false);
        return;
    }
    const std::string bank = std::to_string(*keep.bank);
    if (const CResult stored = map.SaveBankMemory(*keep.bank)) {
        Report(text + ", but not stored in bank " + bank + ": " + pages::FailureReason(stored),
               true);
        return;
    }
    Report(text + " (stored in bank " + bank + ")", false);
}

bool CCameraSettingsMenu::IsChosenModel(const Target& target, const std::string& cameraModel,
                                        const std::optional<CameraModel>& kind,
                                        const CResult& result, const char* nothingDone)
{
    if (result) {
        Report("The camera's model could not be read: " + pages::FailureReason(result) + ".\n" +
                   nothingDone,
               true);
        return false;
    }
    if (kind == target.model)
        return true;
    Report((kind ? "The camera is an " + std::string(CameraModelName(*kind))
                 : "The camera's model is \"" + cameraModel + "\"") +
               ", not the chosen " + target.name + ".\n" + nothingDone,
           true);
    return false;
}

void CCameraSettingsMenu::OnSaveCameraSettings()
{
    const auto target = ChosenTarget();
    if (!target || !ConfirmAttachedCamera(m_camera.comIF, m_attached, SettingsTransfer::Save))
        return;
    const auto& [model, map, name] = *target;
    // Which camera is attached comes first: a file must not name one model and hold another's
    // values.
    CameraIdentity identity;
    const CResult identified = ReadCameraIdentity(m_camera.comIF, identity);
    if (!IsChosenModel(*target, identity.model, identity.kind, identified, "No file was written."))
        return;
    ui::SaveFileRequest request;
    request.defaultExtension = "json";
    // Named as vireoctl names a camera's file in a folder.
    request.proposedName = SettingsFileBaseName(model, identity.serial) + ".json";
    request.folder = StoredFolder(kSettingsFolderEntry);
    request.filter = kFilter;
    request.overwritePrompt = true;
    const auto path = ui::AskSaveFileName(m_window, request);
    if (!path)
        return;
    StoreFolderOf(kSettingsFolderEntry, *path);

    SaveOutcome outcome;
    {
        CTransferProgress progress(m_window, QString::fromStdString("Reading the " + name + "..."),
                                   m_showProgressAfterMs);
        outcome = ReadCameraSettings(model, m_camera.comIF, *map, &identity,
                                     [&progress](std::size_t done, std::size_t total) {
                                         return progress.Step(done, total);
                                     });
    }
    if (outcome.cancelled) {
        Report("Saving was cancelled. No file was written.", true);
        return;
    }
    if (!outcome.Ok()) {
        std::string text =
            "The settings of the " + name + " could not be read.\n" + Problems(outcome.failures);
        if (!outcome.notRead.empty())
            text += "Not read: " + JoinNames(outcome.notRead) + "\n";
        Report(text + "No file was written.", true);
        return;
    }
    std::string error;
    if (!WriteFileAtomically(*path, SettingsToJson(outcome.file), error)) {
        Report("Could not save the settings: " + error, true);
        return;
    }
    Report("Saved " + std::to_string(outcome.file.values.size()) + " settings of " + name + " to " +
               *path,
           false);
}

void CCameraSettingsMenu::OnLoadCameraSettings()
{
    const auto target = ChosenTarget();
    if (!target)
        return;
    const auto& [model, map, name] = *target;
    ui::OpenFileRequest request;
    request.filter = kFilter;
    request.folder = StoredFolder(kSettingsFolderEntry);
    const auto path = ui::AskOpenFileName(m_window, request);
    if (!path)
        return;
    StoreFolderOf(kSettingsFolderEntry, *path);

    std::string text;
    std::string error;
    SettingsFile file;
    FileProblem problem;
    if (!ReadSmallFile(*path, kSettingsFileMax, text, error)) {
        Report(error + "\nNothing was sent to the camera.", true);
        return;
    }
    if (!SettingsFromJson(text, file, problem)) {
        Report(*path + " cannot be loaded: " + (problem.name.empty() ? "" : problem.name + ": ") +
                   problem.reason + "\nNothing was sent to the camera.",
               true);
        return;
    }
    if (file.model != model) {
        Report(*path + " holds settings of the " + CameraModelName(file.model) +
                   ", not of the chosen " + name + ".\nNothing was sent to the camera.",
               true);
        return;
    }

    // Asked once the file is known to be loadable, before anything is sent.
    std::optional<PendingReplacement> replacement;
    if (!ConfirmAttachedCamera(m_camera.comIF, m_attached, SettingsTransfer::Load, &replacement))
        return;
    std::string cameraModel;
    std::optional<CameraModel> kind;
    const CResult identified = ReadCameraModel(m_camera.comIF, cameraModel, kind);
    if (!IsChosenModel(*target, cameraModel, kind, identified, "Nothing was sent to the camera."))
        return;

    const int banks = MemoryBankCount(model);
    const auto keep = m_askBank ? m_askBank(m_window) : AskLoadBank(m_window, banks);
    if (!keep)
        return;
    if (keep->bank && (*keep->bank < 0 || *keep->bank >= banks)) {
        Report("The " + name + " has memory banks 0 to " + std::to_string(banks - 1) +
                   ", no bank " + std::to_string(*keep->bank) +
                   ".\nNothing was sent to the camera.",
               true);
        return;
    }

    LoadOutcome outcome;
    {
        CTransferProgress progress(m_window, QString::fromStdString("Writing the " + name + "..."),
                                   m_showProgressAfterMs);
        // The load records each setting with the file it came from, not each register.
        const CAuditPause perSetting;
        // All or nothing: a failure or a cancel puts the camera's old values back.
        outcome = LoadCameraSettings(file, *map, [&progress](std::size_t done, std::size_t total) {
            return progress.Step(done, total);
        });
        // A camera that stalled past the time-out gets its old values once it answers again.
        RetryUnansweredRestores(file, *map, outcome);
    }
    RecordWindowChanges(LoadAuditChanges(file, *path, Sha256Hex(text), outcome));
    // The camera the user accepted was written to: the inventory gives its serial from now on.
    const bool wrote = !outcome.written.empty() || outcome.rolledBack;
    std::string inventoryProblem;
    if (wrote && replacement)
        inventoryProblem = RecordReplacement(*replacement);
    if (!inventoryProblem.empty())
        Report(inventoryProblem, true);
    if (!outcome.written.empty() && m_pageRefresh)
        m_pageRefresh(model);
    if (outcome.Ok()) {
        ReportLoaded("Loaded " + std::to_string(outcome.written.size()) + " settings of " + name +
                         " from " + *path,
                     *map, *keep);
        return;
    }
    if (outcome.rolledBack) {
        std::string report = outcome.cancelled
                                 ? std::string("Loading was cancelled.\n")
                                 : "Loading " + *path + " into the " + name + " did not succeed.\n";
        std::vector<std::string> left;
        for (const RestoreReport& entry : outcome.restore) {
            report += entry.Text() + "\n";
            if (!entry.restored)
                left.push_back(entry.name);
        }
        report += left.empty() ? "The camera holds its old values again."
                               : "Not restored: " + JoinNames(left) + ".";
        Report(report, true);
        return;
    }
    std::string report = outcome.cancelled ? "Loading was cancelled.\n"
                                           : "Loading " + *path + " into the " + name +
                                                 " did not succeed.\n" + Problems(outcome.failures);
    report += "Written: " + (outcome.written.empty() ? "nothing" : JoinNames(outcome.written));
    if (!outcome.notWritten.empty())
        report += "\nNot written: " + JoinNames(outcome.notWritten);
    Report(report, true);
}
