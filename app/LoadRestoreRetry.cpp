#include "app/LoadRestoreRetry.h"

#include "camera/RVXReg.h"
#include "camera/settings/SettingCatalog.h"
#include "comm/LinkAction.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// Left undone because the link failed, not because the camera refused or the user stopped it.
bool UnansweredRestore(const RestoreReport& report)
{
    return !report.restored &&
           (report.left == "not written back: the camera does not answer" ||
            report.left.find("what the camera holds is not known") != std::string::npos);
}

} // namespace

void RetryUnansweredRestores(const SettingsFile& file, CRVXReg& map, LoadOutcome& outcome,
                             int tries)
{
    if (!outcome.rolledBack)
        return;
    std::vector<RestoreReport*> pending;
    for (RestoreReport& report : outcome.restore)
        if (UnansweredRestore(report))
            pending.push_back(&report);
    for (int attempt = 0; attempt < tries && !pending.empty(); ++attempt) {
        // Each try is an undoing of its own: a time-out in the last one does not skip it.
        const CLinkRecovery recovery(*map.Port());
        while (!pending.empty()) {
            RestoreReport& report = *pending.front();
            const SettingDef* def = FindSetting(file.model, report.name);
            if (!def) {
                pending.erase(pending.begin());
                continue;
            }
            CResult result = def->write(map, report.before);
            int now = 0;
            if (result.Ok())
                result = def->read(map, now);
            if (result.Kind() == ResultKind::Cancelled)
                return;
            if (IsLinkFailure(result))
                break; // still silent: the next try
            if (result.Ok()) {
                report.holds = now;
                outcome.after[report.name] = now;
                report.restored = now == report.before;
                report.left = report.restored ? std::string() : "holds " + std::to_string(now);
            } else {
                report.left = "not written back: " + result.Reason();
            }
            pending.erase(pending.begin());
        }
    }
}
