#include "app/WindowAudit.h"

#include "camera/audit/WriteRecord.h"
#include "camera/settings/CameraModel.h"
#include "camera/settings/SettingCatalog.h"
#include "camera/settings/SettingChange.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/ui/UserAction.h"

#include <utility>

namespace {

AttachedCamera g_camera;
int g_paused = 0;
bool g_warned = false;

// Consecutive writes of one operation of one map, not yet on record.
struct PendingOperation {
    CRVXReg* map = nullptr;
    std::string operation;
    std::vector<RegisterWrite> writes;
};
std::vector<PendingOperation> g_pending; // UI thread only

// The model whose settings a write through map changes: the camera's own when it is of the
// map's family, else the family's model with the most settings.
CameraModel ModelOfMap(CRVXReg& map)
{
    const std::optional<CameraModel> named = CameraModelFromName(g_camera.model);
    switch (map.GetModelType()) {
    case MODEL_RV1240DLX:
        return CameraModel::RV1240DLX;
    case MODEL_RV1250LX:
        return CameraModel::RV1250LX;
    default:
        return named && IsRVQM52(*named) ? *named : CameraModel::RVQM52CM14;
    }
}

// The settings-file setting the writes changed, if they changed one.
const SettingDef* WrittenSetting(CameraModel model, const std::vector<RegisterWrite>& writes)
{
    for (const RegisterWrite& write : writes)
        if (const SettingDef* setting = SettingOfRegister(model, write.address))
            return setting;
    return nullptr;
}

} // namespace

std::string WrittenSettingName(CRVXReg& map, const std::string& operation,
                               const std::vector<RegisterWrite>& writes)
{
    if (const SettingDef* setting = WrittenSetting(ModelOfMap(map), writes))
        return setting->name;
    std::string name = operation.rfind("Set ", 0) == 0 ? operation.substr(4) : operation;
    const std::size_t end = name.find_last_not_of(" ,.:");
    name.erase(end == std::string::npos ? 0 : end + 1);
    return name;
}

void SetAuditedCamera(const AttachedCamera& camera)
{
    g_camera = camera;
}

const AttachedCamera& AuditedCamera()
{
    return g_camera;
}

void RecordWindowChange(AuditChange change)
{
    RecordWindowChanges({std::move(change)});
}

void RecordWindowChanges(std::vector<AuditChange> changes)
{
    for (AuditChange& change : changes) {
        change.program = "VireoStudio";
        change.version = VIREO_VERSION;
        change.port = g_camera.portName;
        // A camera that could not be identified stays unnamed rather than half named.
        if (g_camera.result.Ok()) {
            change.model = g_camera.model;
            change.serial = g_camera.serial;
        }
    }
    std::string error;
    if (AppendAudit(ConfiguredAuditPath(), changes, error) || g_warned)
        return;
    g_warned = true;
    ShowMessageBox("The change was made, but it could not be recorded in the audit trail:\n" +
                       error + "\nThis is told once per run.",
                   "Audit Trail", MsgIcon::Warning);
}

void WatchRegisterWrites(CRVXReg& map)
{
    ui::SetActionClosing(RecordPendingWrites);
    map.SetWriteWatch([&map](const RegisterWrite& write) {
        if (g_paused > 0)
            return;
        if (g_pending.empty() || g_pending.back().map != &map ||
            g_pending.back().operation != write.operation)
            g_pending.push_back({&map, write.operation, {}});
        g_pending.back().writes.push_back(write);
        if (!ui::UserActionUnderWay())
            RecordPendingWrites();
    });
}

void RecordPendingWrites()
{
    std::vector<AuditChange> changes;
    for (const PendingOperation& pending : std::exchange(g_pending, {})) {
        // A setting's line carries its values as vireoctl's does; other operations' lines
        // their registers.
        const CameraModel model = ModelOfMap(*pending.map);
        const SettingDef* setting = WrittenSetting(model, pending.writes);
        auto change = setting ? SettingChangeOfWrites(*setting, model, pending.writes)
                              : ChangeOfWrites(WrittenSettingName(*pending.map, pending.operation,
                                                                  pending.writes),
                                               pending.writes);
        if (change)
            changes.push_back(std::move(*change));
    }
    if (!changes.empty())
        RecordWindowChanges(std::move(changes));
}

CAuditPause::CAuditPause()
{
    // What was written before the pause is recorded as it happened, before the work's own.
    RecordPendingWrites();
    ++g_paused;
}

CAuditPause::~CAuditPause()
{
    --g_paused;
}

void ResetAuditWarning()
{
    g_warned = false;
}
