#include "app/WindowAudit.h"

#include "camera/RVXReg.h"
#include "platform/msgbox/MessageBox.h"

namespace {

AttachedCamera g_camera;
int g_paused = 0;
bool g_warned = false;

} // namespace

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
    map.SetWriteWatch([](const RegisterWrite& write) {
        if (g_paused > 0)
            return;
        AuditChange change;
        // "Set OutLevelGain" changes the setting a load and vireoctl call "OutLevelGain".
        change.setting =
            write.operation.rfind("Set ", 0) == 0 ? write.operation.substr(4) : write.operation;
        change.address = write.address;
        change.before = write.before;
        change.after = write.after;
        change.result = write.result.Ok() ? "ok" : write.result.Reason();
        RecordWindowChange(change);
    });
}

CAuditPause::CAuditPause()
{
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
