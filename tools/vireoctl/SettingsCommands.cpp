#include "tools/vireoctl/SettingsCommands.h"

#include "camera/RVXReg.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/SystemCalls.h"
#include "camera/settings/SettingCatalog.h"
#include "camera/settings/SettingsTransfer.h"
#include "comm/ComIF.h"
#include "camera/audit/Sha256.h"
#include "tools/vireoctl/Audit.h"
#include "tools/vireoctl/ConnectionIdentity.h"
#include "tools/vireoctl/DiffReport.h"
#include "tools/vireoctl/Fleet.h"
#include "tools/vireoctl/IdentifyCommand.h"
#include "tools/vireoctl/Interrupt.h"

#include <cstdio>
#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <map>

namespace vireoctl {
namespace {

void AddProblems(JobResult& job, const std::vector<ValueProblem>& problems)
{
    for (const ValueProblem& problem : problems)
        job.Fail(problem.name + ": " + problem.reason);
}

// Reads and checks a settings file; false (exit 2) with the problem and the usage printed.
bool ReadSettingsFile(const std::string& path, SettingsFile& file, std::string* hash = nullptr)
{
    std::string text;
    std::string error;
    if (!ReadSmallFile(path, kSettingsFileMax, text, error)) {
        UsageError("error: " + error);
        return false;
    }
    if (hash)
        *hash = Sha256Hex(text);
    FileProblem problem;
    if (!SettingsFromJson(text, file, problem)) {
        UsageError("error: " + path + ": " + (problem.name.empty() ? "" : problem.name + ": ") +
                   problem.reason);
        return false;
    }
    return true;
}

// The camera must be of the file's model; false with the reason in job. With identity, the
// whole identity is read into it, not only the model name; with useConnection, the identity
// the connection has read already names the model.
bool CheckModel(CComIF& com, const SettingsFile& file, const std::string& path, JobResult& job,
                const char* forceHint, CameraIdentity* identity = nullptr,
                bool useConnection = false)
{
    std::string cameraModel;
    std::optional<CameraModel> kind;
    CameraIdentity known;
    const CResult result = identity        ? ReadCameraIdentity(&com, *identity)
                           : useConnection ? ConnectionIdentity(com, known)
                                           : ReadCameraModel(&com, known.model, known.kind);
    if (result) {
        job.Fail(result);
        return false;
    }
    cameraModel = identity ? identity->model : known.model;
    kind = identity ? identity->kind : known.kind;
    if (kind != file.model) {
        job.Fail(path + " holds settings of the " + CameraModelName(file.model) +
                 "; the camera is \"" + cameraModel + "\"" + forceHint);
        return false;
    }
    return true;
}

// Each setting a rolled-back load had written or tried to: what was sent, what the camera said,
// and how it ended; then whether the camera holds its old values.
void AddRestore(JobResult& job, const LoadOutcome& outcome)
{
    std::vector<std::string> left;
    for (const RestoreReport& report : outcome.restore) {
        job.Fail(report.Text());
        if (!report.restored)
            left.push_back(report.name);
    }
    job.Fail(left.empty() ? std::string("rolled back: the camera holds its old values")
                          : "rollback failed: " + JoinNames(left) + " not restored");
}

// Memory banks are 0 to kBankMax; register 0x51 saves the live settings into one.
constexpr int kBankMax = 7;

bool ParseBank(const std::string& text, int& bank)
{
    if (text.size() != 1 || text[0] < '0' || text[0] > '0' + kBankMax)
        return false;
    bank = text[0] - '0';
    return true;
}

// Each of the file's settings and how the load ended for it, for --json.
OrderedJson LoadJson(const SettingsFile& file, const LoadOutcome& outcome)
{
    const auto listed = [](const std::vector<std::string>& names, const std::string& name) {
        return std::find(names.begin(), names.end(), name) != names.end();
    };
    const auto value = [](const std::optional<int>& known) {
        return known ? OrderedJson(*known) : OrderedJson();
    };
    OrderedJson settings = OrderedJson::array();
    for (const auto& [name, wanted] : file.values) {
        std::string result = outcome.Failure(name);
        if (result.empty())
            result = listed(outcome.notWritten, name)   ? "not written"
                     : listed(outcome.notChecked, name) ? "not read back"
                                                        : "ok";
        settings.push_back({{"setting", name},
                            {"value", wanted},
                            {"before", value(outcome.Before(name))},
                            {"after", value(outcome.After(name))},
                            {"result", result}});
    }
    OrderedJson facts = {{"settings", std::move(settings)}, {"rolled_back", outcome.RolledBack()}};
    if (outcome.rolledBack) {
        OrderedJson restore = OrderedJson::array();
        for (const RestoreReport& report : outcome.restore)
            restore.push_back({{"setting", report.name},
                               {"restored", report.restored},
                               {"holds", report.holds ? OrderedJson(*report.holds) : OrderedJson()},
                               {"text", report.Text()}});
        facts["restore"] = std::move(restore);
    }
    facts["stored"] = nullptr;
    return facts;
}

bool IsFolder(const std::string& path)
{
    return (!path.empty() && path.back() == '/') || files::IsFolder(path);
}

// Refused unless forced: a file nobody may write is an approved one being protected.
bool RefuseReadOnly(const std::string& path, bool force, JobResult& job)
{
    if (force || !IsReadOnlyFile(path))
        return false;
    job.Fail(path + " is read-only: not replaced");
    return true;
}

// Writes each camera's file into folder, never one camera's over another's of this run.
// Cameras that report the same serial number are told apart by their order among the targets,
// so that a run names each camera's file the same way however fast each one answered.
void WriteFolder(const std::string& folder, std::vector<JobResult>& results, bool oneCamera,
                 bool force)
{
    std::string dir = folder;
    if (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    if (int error = 0; !files::MakeFolder(dir, error)) {
        const std::string reason = dir + ": " + std::strerror(error);
        for (JobResult& result : results)
            if (result.status == kExitOk)
                result.Fail(reason);
        return;
    }
    std::map<std::string, std::vector<std::size_t>> bySerial;
    for (std::size_t i = 0; i < results.size(); ++i)
        if (results[i].status == kExitOk && results[i].saved)
            bySerial[SettingsFileBaseName(results[i].saved->model, results[i].saved->camera.serial)]
                .push_back(i);
    for (const auto& [base, indexes] : bySerial) {
        if (indexes.size() > 1) {
            std::string names;
            for (const std::size_t i : indexes)
                names += (names.empty() ? "" : ", ") + results[i].label;
            ErrorLine("warning: " + names + " report the same serial number \"" +
                      results[indexes[0]].saved->camera.serial + "\"; their files are " + base +
                      ".json, " + base + "-2.json and so on");
        }
        for (std::size_t n = 0; n < indexes.size(); ++n) {
            JobResult& result = results[indexes[n]];
            const std::string path =
                dir + "/" + base + (n == 0 ? "" : "-" + std::to_string(n + 1)) + ".json";
            if (RefuseReadOnly(path, force, result))
                continue;
            std::string error;
            if (!WriteFileAtomically(path, SettingsToJson(*result.saved), error)) {
                result.Fail(error);
                continue;
            }
            result.okText = "\t" + path;
            result.facts["file"] = path;
            if (oneCamera)
                result.out = "Saved " + std::to_string(result.saved->values.size()) +
                             " settings of " + CameraModelName(result.saved->model) + " to " +
                             path + "\n";
        }
    }
}

} // namespace

int SaveSettings(const Options& options)
{
    std::vector<std::string> positional;
    bool force = false;
    for (std::size_t i = 1; i < options.args.size(); ++i) {
        if (options.args[i] == "--force")
            force = true;
        else
            positional.push_back(options.args[i]);
    }
    if (positional.size() != 2)
        return UsageError("save: takes a model and a file (MODEL|auto FILE|DIR/|-)");
    const std::string& modelArg = positional[0];
    const std::string& path = positional[1];
    const bool identify = modelArg == kAutoModel;
    std::optional<CameraModel> model;
    if (!identify) {
        model = CameraModelFromName(modelArg);
        if (!model)
            return UsageError("save: unknown model " + modelArg);
    }
    const bool toOutput = path == "-";
    if (toOutput && options.json)
        return UsageError("save: --json and \"-\" would both write standard output");
    const bool folder = !toOutput && IsFolder(path);
    if (!folder && options.targets.size() > 1)
        return UsageError("save: " + path +
                          ": several cameras are saved into a folder (a name ending in \"/\")");

    std::vector<JobResult> results =
        RunOnTargets(options, true, [&](CComIF& com, const TransferProgress& progress) {
            JobResult job;
            std::optional<CameraModel> kind = model;
            if (identify) {
                // The model name alone says which map to use; the file's identity is read with
                // the values.
                std::string name;
                if (const CResult result = ReadCameraModel(&com, name, kind)) {
                    job.Fail(result);
                    return job;
                }
                if (!kind) {
                    job.Fail("the camera's model \"" + name + "\" is of no known kind");
                    return job;
                }
            }
            const auto map = MakeRegisterMap(*kind, &com);
            const SaveOutcome outcome = ReadCameraSettings(*kind, &com, *map, nullptr, progress);
            if (!outcome.Ok()) {
                AddProblems(job, outcome.failures);
                if (outcome.notRead.size() == SettingsOf(*kind).size())
                    job.Fail("no setting read");
                else if (!outcome.notRead.empty())
                    job.Fail("not read: " + JoinNames(outcome.notRead));
                job.Fail(folder     ? std::string("no file written")
                         : toOutput ? std::string("nothing written")
                                    : path + " not written");
                return job;
            }
            job.saved = outcome.file;
            job.facts["model"] = CameraModelName(*kind);
            job.facts["serial"] = outcome.file.camera.serial;
            job.facts["settings"] = outcome.file.values.size();
            job.facts["file"] = nullptr;
            if (toOutput) {
                job.out = SettingsToJson(outcome.file);
            } else if (!folder) {
                if (RefuseReadOnly(path, force, job))
                    return job;
                std::string error;
                if (!WriteFileAtomically(path, SettingsToJson(outcome.file), error)) {
                    job.Fail(error);
                    return job;
                }
                job.okText = "\t" + path;
                job.facts["file"] = path;
                job.out = "Saved " + std::to_string(outcome.file.values.size()) + " settings of " +
                          CameraModelName(*kind) + " to " + path + "\n";
            }
            return job;
        });
    if (folder)
        WriteFolder(path, results, options.targets.size() <= 1, force);
    return options.json ? PrintJson(options, results) : PrintResultLines(options, results);
}

int LoadSettings(const Options& options)
{
    std::string path;
    bool force = false;
    bool dryRun = false;
    bool rollback = true;
    std::optional<int> bank;
    for (std::size_t i = 1; i < options.args.size(); ++i) {
        const std::string& arg = options.args[i];
        if (arg == "--store") {
            int value = -1;
            if (i + 1 >= options.args.size() || !ParseBank(options.args[i + 1], value))
                return UsageError("load: --store " +
                                  (i + 1 < options.args.size() ? options.args[i + 1] + ": " : "") +
                                  "takes a memory bank, 0 to " + std::to_string(kBankMax));
            bank = value;
            ++i;
        } else if (arg == "--force")
            force = true;
        else if (arg == "--no-rollback")
            rollback = false;
        else if (arg == "--dry-run")
            dryRun = true;
        else if (path.empty() && !arg.empty() && arg.rfind("--", 0) != 0)
            path = arg;
        else
            return UsageError("load: " + arg + ": " +
                              (path.empty() ? "not a file name or option" : "one file only"));
    }
    if (path.empty())
        return UsageError("load: takes a settings file (FILE)");

    SettingsFile file;
    std::string fileHash;
    if (!ReadSettingsFile(path, file, &fileHash))
        return kExitUsage;
    const char* modelName = CameraModelName(file.model);
    if (dryRun) {
        OrderedJson planned = OrderedJson::array();
        for (const std::string& operation : PlannedWrites(file)) {
            if (options.json)
                planned.push_back(operation);
            else
                std::printf("%s %s\n", modelName, operation.c_str());
        }
        if (options.json) {
            const OrderedJson document = {{"command", "load"},
                                          {"version", VIREO_VERSION},
                                          {"dry_run", true},
                                          {"model", modelName},
                                          {"writes", planned}};
            std::fputs((JsonText(document, 2) + "\n").c_str(), stdout);
        }
        return kExitOk;
    }

    // A signal stops every camera between two settings; each then says how far it got.
    const InterruptScope interruptible;
    const std::vector<JobResult> results =
        RunOnTargets(options, true, [&](CComIF& com, const TransferProgress& progress) {
            JobResult job;
            // The record names the camera as it was before the load.
            if (const CResult failed = IdentifyBeforeWriting(com)) {
                job.Fail(failed);
                job.Fail("nothing written");
                return job;
            }
            if (!force &&
                !CheckModel(com, file, path, job, " (--force loads them anyway)", nullptr, true)) {
                job.Fail("nothing written");
                return job;
            }
            const auto map = MakeRegisterMap(file.model, &com);
            const LoadOutcome outcome = rollback ? LoadCameraSettings(file, *map, progress)
                                                 : WriteCameraSettings(file, *map, progress, true);
            RecordChanges(com, LoadAuditChanges(file, path, fileHash, outcome));
            job.facts = LoadJson(file, outcome);
            if (outcome.cancelled) {
                job.Fail("interrupted: " + std::to_string(outcome.written.size()) + " of " +
                         std::to_string(file.values.size()) + " settings written");
                if (outcome.rolledBack) {
                    AddRestore(job, outcome);
                    return job;
                }
                AddProblems(job, outcome.failures);
                if (!outcome.notChecked.empty())
                    job.Fail("not read back: " + JoinNames(outcome.notChecked));
                return job;
            }
            if (outcome.rolledBack) {
                AddRestore(job, outcome);
                if (!outcome.notWritten.empty())
                    job.Fail("not sent: " + JoinNames(outcome.notWritten));
                return job;
            }
            if (!outcome.Ok()) {
                AddProblems(job, outcome.failures);
                job.Fail("written: " + (outcome.written.empty() ? std::string("nothing")
                                                                : JoinNames(outcome.written)));
                if (!outcome.notWritten.empty())
                    job.Fail("not written: " + JoinNames(outcome.notWritten));
                return job;
            }
            // Only a verified load is worth keeping over a power cycle.
            if (bank) {
                const CResult stored = map->SaveBankMemory(*bank);
                AuditChange change;
                change.address = kRegSaveBank;
                change.after = *bank;
                change.result = stored ? stored.Reason() : "ok";
                RecordChange(com, change);
                if (stored) {
                    job.Fail("loaded, but not stored in bank " + std::to_string(*bank) + ": " +
                             stored.Reason());
                    return job;
                }
            }
            job.okText = bank ? " (stored in bank " + std::to_string(*bank) + ")"
                              : std::string(" (live only: lost at power-off)");
            job.facts["stored"] = bank ? OrderedJson(*bank) : OrderedJson();
            job.facts["live_only"] = !bank;
            job.out = "Loaded " + std::to_string(outcome.written.size()) + " settings of " +
                      modelName + " from " + path + job.okText + "\n";
            return job;
        });
    const int status =
        options.json ? PrintJson(options, results) : PrintResultLines(options, results);
    EndIfInterrupted();
    return status;
}

int DiffSettings(const Options& options)
{
    std::string path;
    std::optional<std::string> reportPath;
    std::optional<std::string> junitPath;
    bool force = false;
    for (std::size_t i = 1; i < options.args.size(); ++i) {
        const std::string& arg = options.args[i];
        if (arg == "--force") {
            force = true;
        } else if (arg == "--report" || arg == "--junit") {
            if (i + 1 >= options.args.size() || options.args[i + 1].empty())
                return UsageError("diff: " + arg + ": no file");
            (arg == "--report" ? reportPath : junitPath) = options.args[++i];
        } else if (path.empty()) {
            path = arg;
        } else {
            return UsageError("diff: takes a settings file (FILE)");
        }
    }
    if (path.empty())
        return UsageError("diff: takes a settings file (FILE)");
    if (const auto refused = CheckReportTargets(options, path, reportPath, junitPath, force))
        return *refused;
    const std::string time = SettingsTimeNow();
    SettingsFile file;
    std::string fileHash;
    if (!ReadSettingsFile(path, file, &fileHash))
        return kExitUsage;
    // The identity and a hash of what was read cost a few more exchanges: only when asked for,
    // or when the inventory says which camera should answer.
    const bool record = options.json || reportPath || junitPath;
    const bool identify =
        record || std::any_of(options.targets.begin(), options.targets.end(),
                              [](const Target& target) { return target.model || target.serial; });

    std::vector<JobResult> results =
        RunOnTargets(options, false, [&](CComIF& com, const TransferProgress&) {
            JobResult job;
            CameraIdentity identity;
            const bool sameModel =
                CheckModel(com, file, path, job, "", identify ? &identity : nullptr);
            const auto text = [](const std::string& value) {
                return value.empty() ? OrderedJson() : OrderedJson(value);
            };
            job.facts = {{"model", text(identity.model)},
                         {"serial", text(identity.serial)},
                         {"differences", OrderedJson::array()},
                         {"settings_sha256", nullptr}};
            if (!sameModel)
                return job;
            const auto map = MakeRegisterMap(file.model, &com);
            SettingsFile readBack{
                file.model,
                {identity.vendor, identity.model, identity.serial, identity.cpu, identity.fpga},
                "",
                {}};
            for (const auto& [name, expected] : file.values) {
                const SettingDef* def = FindSetting(file.model, name);
                if (!def) {
                    job.Fail(name + ": unknown name for the " +
                             std::string(CameraModelName(file.model)));
                    return job;
                }
                int value = 0;
                if (const CResult result = def->read(*map, value)) {
                    job.Fail(name + ": " + CodeText(result));
                    return job;
                }
                readBack.values.emplace_back(name, value);
                if (value != expected) {
                    job.out += name + "\t" + std::to_string(expected) + "\t" +
                               std::to_string(value) + "\n";
                    job.facts["differences"].push_back(
                        {{"setting", name}, {"expected", expected}, {"actual", value}});
                }
            }
            // Rendered as a settings file with no time in it: an unchanged camera hashes alike.
            if (record)
                job.facts["settings_sha256"] = Sha256Hex(SettingsToJson(readBack));
            if (!job.out.empty())
                job.status = kExitDiffers;
            return job;
        });
    MarkReplacedCameras(options.targets, results);
    int status =
        options.json ? PrintJson(options, results, "match") : PrintBlocks(options, results);
    const DiffRun run{path, fileHash, time, results};
    const auto write = [&status](const std::string& target, const std::string& contents) {
        std::string error;
        if (!WriteFileAtomically(target, contents, error)) {
            ErrorLine("error: " + error);
            status = kExitFailed;
        }
    };
    if (reportPath)
        write(*reportPath, DiffReportJson(run));
    if (junitPath)
        write(*junitPath, DiffJUnitXml(run));
    return status;
}

} // namespace vireoctl
