#include "camera/settings/SettingsTransfer.h"

#include "camera/RVXReg.h"
#include "camera/audit/AuditTrail.h"
#include "camera/settings/SettingCatalog.h"
#include "comm/LinkAction.h"

#include <algorithm>
#include <map>
#include <utility>

bool IsLinkFailure(const CResult& result)
{
    return result.Failed() && result.Kind() != ResultKind::Camera;
}

namespace {

bool GoOn(const TransferProgress& progress, std::size_t done, std::size_t total)
{
    return !progress || progress(done, total);
}

// A request that went out and got no trustworthy answer may still have been taken.
std::string WriteFailure(const CResult& result)
{
    const bool sent =
        result == LINK_TIMEOUT || result == LINK_RX_ERROR || result.Kind() == ResultKind::Cancelled;
    return sent ? "no answer: the camera may have taken it" : "not written: " + result.Reason();
}

} // namespace

SaveOutcome ReadCameraSettings(CameraModel model, CComIF* comIF, CRVXReg& map,
                               const CameraIdentity* known, const TransferProgress& progress)
{
    SaveOutcome outcome;
    const std::vector<SettingDef>& defs = SettingsOf(model);
    const std::size_t total = defs.size() + (known ? 0 : 1);
    std::size_t done = 0;

    CameraIdentity identity;
    if (known) {
        identity = *known;
    } else {
        if (!GoOn(progress, done, total)) {
            outcome.cancelled = true;
            for (const SettingDef& def : defs)
                outcome.notRead.push_back(def.name);
            return outcome;
        }
        const CResult result = ReadCameraIdentity(comIF, identity);
        ++done;
        if (result) {
            outcome.failures.push_back({"identity", result.Reason()});
            if (IsLinkFailure(result)) {
                for (const SettingDef& def : defs)
                    outcome.notRead.push_back(def.name);
                return outcome;
            }
        }
    }
    outcome.file.model = model;
    outcome.file.camera = {identity.vendor, identity.model, identity.serial, identity.cpu,
                           identity.fpga};
    outcome.file.saved = SettingsTimeNow();

    bool stopped = false;
    for (const SettingDef& def : defs) {
        if (!stopped && !GoOn(progress, done, total)) {
            outcome.cancelled = true;
            stopped = true;
        }
        if (stopped) {
            outcome.notRead.push_back(def.name);
            continue;
        }
        int value = 0;
        const CResult result = def.read(map, value);
        ++done;
        if (result) {
            outcome.failures.push_back({def.name, result.Reason()});
            stopped = IsLinkFailure(result);
            continue;
        }
        if (const std::string reason = def.CheckValue(value); !reason.empty()) {
            outcome.failures.push_back(
                {def.name, "holds " + std::to_string(value) + ", " + reason + " of the page"});
            continue;
        }
        outcome.file.values.emplace_back(def.name, value);
    }
    return outcome;
}

LoadOutcome WriteCameraSettings(const SettingsFile& file, CRVXReg& map,
                                const TransferProgress& progress, bool readBefore)
{
    LoadOutcome outcome;
    const std::size_t total = file.values.size() * 2;
    std::size_t done = 0;
    bool stopped = false;
    std::vector<std::pair<const SettingDef*, int>> toCheck;
    for (const auto& [name, value] : file.values) {
        const SettingDef* def = FindSetting(file.model, name);
        if (!def)
            continue; // the file was checked against the same catalogue
        if (!stopped && !GoOn(progress, done, total)) {
            outcome.cancelled = true;
            stopped = true;
        }
        if (stopped) {
            outcome.notWritten.push_back(name);
            continue;
        }
        if (int now = 0; readBefore) {
            if (const CResult read = def->read(map, now); read.Ok())
                outcome.before[name] = now;
            else if (IsLinkFailure(read)) {
                outcome.failures.push_back({name, "not written: " + read.Reason()});
                outcome.notWritten.push_back(name);
                stopped = true;
                continue;
            }
        }
        outcome.writtenAt[name] = std::chrono::system_clock::now();
        const CResult result = def->write(map, value);
        ++done;
        if (result) {
            outcome.failures.push_back({name, WriteFailure(result)});
            // After a link failure nothing more is asked: a late answer to this request could
            // be taken for the answer to the next one.
            stopped = IsLinkFailure(result);
            continue;
        }
        outcome.written.push_back(name);
        toCheck.emplace_back(def, value);
    }
    // A camera that stopped answering would only time out again; a user who stopped wants
    // nothing more sent.
    if (stopped)
        return outcome;
    for (const auto& [def, expected] : toCheck) {
        if (!stopped && !GoOn(progress, done, total)) {
            outcome.cancelled = true;
            stopped = true;
        }
        if (stopped) {
            outcome.notChecked.push_back(def->name);
            continue;
        }
        int value = 0;
        const CResult result = def->read(map, value);
        ++done;
        if (!result)
            outcome.after[def->name] = value;
        if (result) {
            outcome.failures.push_back({def->name, "not read back: " + result.Reason()});
            stopped = IsLinkFailure(result);
        } else if (value != expected) {
            outcome.failures.push_back({def->name, "reads back " + std::to_string(value) +
                                                       ", not " + std::to_string(expected)});
        }
    }
    return outcome;
}

std::string RestoreReport::Text() const
{
    return name + ": sent " + std::to_string(sent) + " (" + answer + "); " +
           (restored ? "restored to " + std::to_string(before) : "not restored: " + left);
}

namespace {

// Tries of one setting's restore whose answers came out of step with their requests (a late
// reply arrived with them): the line is quiet again by the next try, so a few suffice.
constexpr int kRestoreTries = 3;

bool OutOfStep(const CResult& result)
{
    return result == LINK_RX_ERROR;
}

// The old value written back and read again; the report says how it ended. A failure of the
// link (or the user's new cancel) is returned: the rest is not tried.
CResult Restore(const SettingDef& def, CRVXReg& map, RestoreReport& report,
                std::map<std::string, int>& after)
{
    CResult result;
    for (int tries = 0; tries < kRestoreTries; ++tries) {
        // The setter reads what it merges its field into afresh, in its own exchanges.
        result = def.write(map, report.before);
        if (result.Failed() && result.Kind() == ResultKind::Camera) {
            // A refusal changed nothing: what was known of the camera still holds.
            report.left = "not written back: " + result.Reason();
            if (const auto it = after.find(def.name); it != after.end())
                report.holds = it->second;
            return {};
        }
        // Whatever was known is out of date once a write may have reached the camera.
        after.erase(def.name);
        int now = 0;
        if (result.Ok())
            result = def.read(map, now);
        if (result.Ok()) {
            after[def.name] = now;
            report.holds = now;
            report.restored = now == report.before;
            if (!report.restored)
                report.left = "holds " + std::to_string(now);
            return {};
        }
        if (!OutOfStep(result))
            break;
    }
    report.left = "not restored (" + result.Reason() + "): what the camera holds is not known";
    return IsLinkFailure(result) ? result : CResult();
}

} // namespace

LoadOutcome LoadCameraSettings(const SettingsFile& file, CRVXReg& map,
                               const TransferProgress& progress)
{
    // Each value is read once before anything is written; progress counts that as a third step.
    const std::size_t count = file.values.size();
    std::map<std::string, int> before;
    std::size_t done = 0;
    for (const auto& [name, value] : file.values) {
        const SettingDef* def = FindSetting(file.model, name);
        if (!def)
            continue;
        LoadOutcome refused;
        if (!GoOn(progress, done, count * 3)) {
            refused.cancelled = true;
        } else if (int now = 0; const CResult result = def->read(map, now)) {
            refused.failures.push_back({name, "not read before the load: " + result.Reason()});
        } else {
            before[name] = now;
            ++done;
            continue;
        }
        // Without every old value the load could not be undone: nothing is written.
        for (const auto& [other, otherValue] : file.values)
            refused.notWritten.push_back(other);
        return refused;
    }

    LoadOutcome outcome =
        WriteCameraSettings(file, map, [&progress, count](std::size_t step, std::size_t) {
            return GoOn(progress, count + step, count * 3);
        });
    outcome.before = before;
    if (outcome.Ok())
        return outcome;

    outcome.rolledBack = true;
    // The load's own failure or cancel does not stop the exchanges that undo it; a new cancel
    // does.
    const CLinkRecovery recovery(*map.Port());
    CResult stop;
    for (const auto& [name, value] : file.values) {
        if (std::find(outcome.notWritten.begin(), outcome.notWritten.end(), name) !=
            outcome.notWritten.end())
            continue;
        const SettingDef* def = FindSetting(file.model, name);
        if (!def)
            continue;
        RestoreReport report{name, value, "taken", before[name], false, {}, {}};
        for (const ValueProblem& problem : outcome.failures)
            if (problem.name == name)
                report.answer = problem.reason;
        // A camera that stopped answering would only time out once more for each.
        if (stop.Ok())
            stop = Restore(*def, map, report, outcome.after);
        else
            report.left = stop.Kind() == ResultKind::Cancelled
                              ? "not written back: the restore was stopped"
                              : "not written back: the camera does not answer";
        if (!report.restored && !report.holds)
            if (const auto it = outcome.after.find(name); it != outcome.after.end())
                report.holds = it->second;
        outcome.restore.push_back(std::move(report));
    }
    return outcome;
}

std::vector<std::string> PlannedWrites(const SettingsFile& file)
{
    std::vector<std::string> texts;
    for (const auto& [name, value] : file.values)
        if (const SettingDef* def = FindSetting(file.model, name))
            texts.push_back(def->WriteText(value));
    return texts;
}

std::string JoinNames(const std::vector<std::string>& names)
{
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (i > 0)
            text += i + 1 == names.size() ? " and " : ", ";
        text += names[i];
    }
    return text;
}

namespace {

std::optional<int> ValueOf(const std::map<std::string, int>& values, const std::string& name)
{
    const auto it = values.find(name);
    return it == values.end() ? std::nullopt : std::optional(it->second);
}

} // namespace

std::optional<int> LoadOutcome::Before(const std::string& name) const
{
    return ValueOf(before, name);
}

std::optional<int> LoadOutcome::After(const std::string& name) const
{
    return ValueOf(after, name);
}

std::string LoadOutcome::Failure(const std::string& name) const
{
    std::string reason;
    for (const ValueProblem& problem : failures)
        if (problem.name == name)
            reason = problem.reason;
    return reason;
}

std::vector<AuditChange> LoadAuditChanges(const SettingsFile& file, const std::string& path,
                                          const std::string& fileHash, const LoadOutcome& outcome)
{
    std::vector<AuditChange> changes;
    for (const auto& [name, value] : file.values) {
        if (std::find(outcome.notWritten.begin(), outcome.notWritten.end(), name) !=
            outcome.notWritten.end())
            continue;
        AuditChange change;
        change.setting = name;
        change.before = outcome.Before(name);
        change.after = outcome.After(name);
        const std::string failure = outcome.Failure(name);
        change.result = failure.empty() ? "ok" : failure;
        if (outcome.rolledBack) {
            // Rolled back only where the old value was written and read back; otherwise the
            // line says what the camera holds, or that nobody knows.
            const auto report = std::find_if(
                outcome.restore.begin(), outcome.restore.end(),
                [&change](const RestoreReport& entry) { return entry.name == change.setting; });
            if (report != outcome.restore.end() && report->restored)
                change.result = "rolled back (" + change.result + ")";
            else
                change.result =
                    "not rolled back: " +
                    (report == outcome.restore.end() ? std::string("not tried") : report->left) +
                    " (" + change.result + ")";
            if (report != outcome.restore.end())
                change.after = report->holds;
        }
        change.file = path;
        change.fileSha256 = fileHash;
        if (const auto at = outcome.writtenAt.find(name); at != outcome.writtenAt.end())
            change.time = at->second;
        changes.push_back(std::move(change));
    }
    return changes;
}
