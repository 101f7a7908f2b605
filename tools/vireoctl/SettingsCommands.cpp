#include "tools/vireoctl/SettingsCommands.h"

#include "camera/RVXReg.h"
#include "camera/settings/AtomicFile.h"
#include "camera/settings/SettingsTransfer.h"
#include "comm/ComIF.h"
#include "tools/vireoctl/IdentifyCommand.h"

#include <cstdio>

namespace vireoctl {
namespace {

// Closes the port as every command does, with an exit status of the command's own.
int Close(int status)
{
    Finish(0);
    return status;
}

void PrintProblems(const std::vector<ValueProblem>& problems)
{
    for (const ValueProblem& problem : problems)
        std::fprintf(stderr, "error: %s: %s\n", problem.name.c_str(), problem.reason.c_str());
}

} // namespace

int SaveSettings(const Options& options)
{
    if (options.args.size() != 3)
        return Usage();
    const std::string& modelArg = options.args[1];
    const std::string& path = options.args[2];
    const bool identify = modelArg == kAutoModel;
    std::optional<CameraModel> model;
    if (!identify) {
        model = CameraModelFromName(modelArg);
        if (!model)
            return Usage();
    }
    if (!OpenPort(options))
        return kExitFailed;
    CameraIdentity identity;
    if (identify) {
        int status = kExitFailed;
        model = IdentifyModel(identity, status);
        if (!model)
            return status;
    }
    const auto map = MakeRegisterMap(*model, &g_ComIF);
    const SaveOutcome outcome =
        ReadCameraSettings(*model, &g_ComIF, *map, identify ? &identity : nullptr, {});
    if (!outcome.Ok()) {
        PrintProblems(outcome.failures);
        if (!outcome.notRead.empty())
            std::fprintf(stderr, "error: not read: %s\n", JoinNames(outcome.notRead).c_str());
        std::fprintf(stderr, "error: %s not written\n", path.c_str());
        return Close(kExitFailed);
    }
    std::string error;
    if (!WriteFileAtomically(path, SettingsToJson(outcome.file), error)) {
        std::fprintf(stderr, "error: %s\n", error.c_str());
        return Close(kExitFailed);
    }
    std::printf("Saved %zu settings of %s to %s\n", outcome.file.values.size(),
                CameraModelName(*model), path.c_str());
    return Close(kExitOk);
}

int LoadSettings(const Options& options)
{
    std::string path;
    bool force = false;
    bool dryRun = false;
    for (std::size_t i = 1; i < options.args.size(); ++i) {
        const std::string& arg = options.args[i];
        if (arg == "--force")
            force = true;
        else if (arg == "--dry-run")
            dryRun = true;
        else if (path.empty() && !arg.empty() && arg.rfind("--", 0) != 0)
            path = arg;
        else
            return Usage();
    }
    if (path.empty())
        return Usage();

    std::string text;
    std::string error;
    if (!ReadSmallFile(path, kSettingsFileMax, text, error)) {
        std::fprintf(stderr, "error: %s\n", error.c_str());
        return kExitUsage;
    }
    SettingsFile file;
    FileProblem problem;
    if (!SettingsFromJson(text, file, problem)) {
        if (problem.name.empty())
            std::fprintf(stderr, "error: %s: %s\n", path.c_str(), problem.reason.c_str());
        else
            std::fprintf(stderr, "error: %s: %s: %s\n", path.c_str(), problem.name.c_str(),
                         problem.reason.c_str());
        return kExitUsage;
    }
    const char* modelName = CameraModelName(file.model);
    if (dryRun) {
        for (const std::string& operation : PlannedWrites(file))
            std::printf("%s %s\n", modelName, operation.c_str());
        return kExitOk;
    }

    if (!OpenPort(options))
        return kExitFailed;
    if (!force) {
        std::string cameraModel;
        std::optional<CameraModel> kind;
        if (const int result = ReadCameraModel(&g_ComIF, cameraModel, kind); result != 0)
            return Finish(result);
        if (kind != file.model) {
            std::fprintf(stderr,
                         "error: %s holds settings of the %s; the camera is \"%s\" (--force loads "
                         "them anyway)\n",
                         path.c_str(), modelName, cameraModel.c_str());
            return Close(kExitFailed);
        }
    }
    const auto map = MakeRegisterMap(file.model, &g_ComIF);
    const LoadOutcome outcome = WriteCameraSettings(file, *map, {});
    if (!outcome.Ok()) {
        PrintProblems(outcome.failures);
        std::fprintf(stderr, "error: written: %s\n",
                     outcome.written.empty() ? "nothing" : JoinNames(outcome.written).c_str());
        if (!outcome.notWritten.empty())
            std::fprintf(stderr, "error: not written: %s\n", JoinNames(outcome.notWritten).c_str());
        return Close(kExitFailed);
    }
    std::printf("Loaded %zu settings of %s from %s\n", outcome.written.size(), modelName,
                path.c_str());
    return Close(kExitOk);
}

} // namespace vireoctl
