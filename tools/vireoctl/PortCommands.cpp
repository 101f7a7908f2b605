#include "tools/vireoctl/PortCommands.h"

#include "camera/RVXReg.h"
#include "camera/settings/CameraIdentity.h"
#include "camera/settings/SettingCatalog.h"
#include "comm/ComIF.h"
#include "tools/vireoctl/Audit.h"
#include "tools/vireoctl/ConnectionIdentity.h"
#include "tools/vireoctl/IdentifyCommand.h"
#include "tools/vireoctl/IdentityGuard.h"
#include "tools/vireoctl/Interrupt.h"
#include "tools/vireoctl/NamedOps.h"
#include "tools/vireoctl/OpBinding.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace vireoctl {
namespace {

constexpr int kSleepMaxMs = 3600000;

PortAction ParseRead(const std::vector<std::string>& args, std::string& problem)
{
    int address = 0;
    if (args.size() != 2) {
        problem = "read: takes one address (ADDR)";
        return {};
    }
    if (const std::string why = HexArgumentProblem(args[1], 0xFFF, address); !why.empty()) {
        problem = "read: address " + why;
        return {};
    }
    return [address](CComIF& com) {
        CRVXReg reg(&com);
        std::uint8_t value = 0;
        const CResult result = reg.ReadRegister(address, value);
        if (result.Ok())
            std::printf("%02X\n", value);
        return ReportResult(result);
    };
}

PortAction ParseWrite(const std::vector<std::string>& args, std::string& problem)
{
    int address = 0;
    int value = 0;
    if (args.size() != 3) {
        problem = "write: takes an address and a value (ADDR VALUE)";
        return {};
    }
    if (const std::string why = HexArgumentProblem(args[1], 0xFFF, address); !why.empty()) {
        problem = "write: address " + why;
        return {};
    }
    if (const std::string why = HexArgumentProblem(args[2], 0xFF, value); !why.empty()) {
        problem = "write: value " + why;
        return {};
    }
    return [address, value](CComIF& com) {
        if (const CResult failed = IdentifyBeforeWriting(com))
            return ReportResult(failed);
        CRVXReg reg(&com);
        std::vector<RegisterWrite> writes;
        const CResult result =
            WatchWrites(reg, writes, [&] { return reg.WriteRegister(address, value); });
        RecordWrites(com, {}, writes);
        return ReportResult(result);
    };
}

// The range a setting page allows for an operation that writes one setting of model as it is;
// empty when there is none. The operation itself takes its type's range.
std::string PageRange(const std::string& model, const std::string& operation)
{
    const auto camera = CameraModelFromName(model);
    if (!camera)
        return {};
    for (const SettingDef& def : SettingsOf(*camera))
        if (def.setter == operation && def.allowed.empty())
            return std::to_string(def.minimum) + ".." + std::to_string(def.maximum);
    return {};
}

// The operation of model bound to its arguments; empty with what is wrong.
BoundOp BindOperation(const std::string& model, const std::string& operation,
                      const std::vector<std::string>& args, std::string& problem, int& status)
{
    status = kExitUsage;
    const auto kind = MapOfModel(model);
    if (!kind) {
        problem = "call: unknown model " + model;
        return {};
    }
    const NamedOp* op = FindOperation(*kind, operation);
    if (!op) {
        problem = "call: " + model + " has no operation " + operation;
        return {};
    }
    BoundOp run = op->bind(args);
    if (!run) {
        problem = "call " + operation + ": " + ArgumentProblem(*op, args);
        if (const std::string range = PageRange(model, operation);
            !range.empty() && problem.find(" is outside ") != std::string::npos)
            problem += " (the setting page's range is " + range + ")";
    }
    return run;
}

// The setting an operation of model writes, when it is a setter of one.
const SettingDef* SettingOfSetter(const std::string& model, const std::string& operation)
{
    const auto camera = CameraModelFromName(model);
    if (!camera || operation.rfind("Set", 0) != 0)
        return nullptr;
    for (const SettingDef& def : SettingsOf(*camera))
        if (def.setter == operation)
            return &def;
    return nullptr;
}

int RunBound(CComIF& com, MapKind kind, const BoundOp& run, const std::string& model,
             const std::string& operation)
{
    const auto map = MakeMap(kind, &com);
    std::vector<std::string> outputs;
    // Any operation may write (setters, bank commands, one-push balances, identity texts): the
    // camera's name is known before, and every register written is on record after.
    if (operation.rfind("Get", 0) != 0)
        if (const CResult failed = IdentifyBeforeWriting(com))
            return ReportResult(failed);
    // A setter of a settings-file setting is recorded under the setting's name, with its value
    // before and after, as a load records it.
    const SettingDef* setting = AuditEnabled() ? SettingOfSetter(model, operation) : nullptr;
    std::optional<int> before, after;
    int value = 0;
    if (setting && !setting->read(*map, value))
        before = value;
    std::vector<RegisterWrite> writes;
    const CResult result = WatchWrites(*map, writes, [&] { return run(*map, outputs); });
    if (setting && !writes.empty() && !setting->read(*map, value))
        after = value;
    RecordWrites(com, setting ? setting->name : operation, writes, [&](AuditChange& change) {
        if (!setting)
            return;
        // The setting's values say it; the registers stay listed beside them.
        if (change.address)
            change.registers.push_back({*change.address, change.before, change.after, std::nullopt,
                                        std::nullopt, change.result});
        change.address.reset();
        change.before = before;
        change.after = after;
    });
    if (result.Ok())
        for (const std::string& output : outputs)
            std::printf("%s\n", output.c_str());
    return ReportResult(result);
}

PortAction ParseCall(const std::vector<std::string>& args, std::string& problem)
{
    if (args.size() < 3) {
        problem = "call: takes a model and an operation (MODEL OPERATION [ARG...])";
        return {};
    }
    const std::string model = args[1];
    const std::string operation = args[2];
    const std::vector<std::string> opArgs(args.begin() + 3, args.end());
    int status = 0;
    if (model != kAutoModel) {
        BoundOp run = BindOperation(model, operation, opArgs, problem, status);
        if (!run)
            return {};
        const MapKind kind = *MapOfModel(model);
        return [kind, run, model, operation](CComIF& com) {
            return RunBound(com, kind, run, model, operation);
        };
    }
    // "auto": the operation must fit at least one model; the camera then says which one.
    std::string firstProblem;
    bool fits = false;
    for (const char* candidate : {"RV1240DLX", "RV1250LX", "RVQM52CM14"}) {
        std::string why;
        if (BindOperation(candidate, operation, opArgs, why, status))
            fits = true;
        else if (firstProblem.empty() || why.rfind("call " + operation, 0) == 0)
            firstProblem = why;
    }
    if (!fits) {
        problem = firstProblem.rfind("call: ", 0) == 0 ? "call: no model has operation " + operation
                                                       : firstProblem;
        return {};
    }
    return [operation, opArgs](CComIF& com) {
        std::string modelName;
        std::optional<CameraModel> camera;
        if (const CResult result = ReadCameraModel(&com, modelName, camera))
            return ReportResult(result);
        if (!camera) {
            ErrorLine("error: the camera's model \"" + modelName + "\" is of no known kind");
            return kExitFailed;
        }
        const char* model = CameraModelName(*camera);
        std::string why;
        int status = kExitFailed;
        const BoundOp run = BindOperation(model, operation, opArgs, why, status);
        if (!run) {
            ErrorLine("error: " + why);
            return status;
        }
        return RunBound(com, *MapOfModel(model), run, model, operation);
    };
}

PortAction ParseIdentify(const std::vector<std::string>& args, std::string& problem)
{
    if (args.size() != 1) {
        problem = "identify: takes no argument";
        return {};
    }
    return [](CComIF& com) {
        std::string text;
        const CResult result = IdentifyText(com, text);
        std::fputs(text.c_str(), stdout);
        return ReportResult(result);
    };
}

PortAction ParseSleep(const std::vector<std::string>& args, std::string& problem)
{
    long long ms = 0;
    if (args.size() != 2 || !binding::ParseInteger(args[1], 0, kSleepMaxMs, ms)) {
        problem = "sleep: takes a time of 0.." + std::to_string(kSleepMaxMs) + " ms";
        return {};
    }
    return [ms](CComIF&) {
        FlushOutput();
        std::this_thread::sleep_for(std::chrono::milliseconds(ms));
        return kExitOk;
    };
}

} // namespace

bool IsPortActionCommand(const std::string& command)
{
    return command == "read" || command == "write" || command == "call" || command == "identify" ||
           command == "sleep";
}

PortAction ParsePortAction(const std::vector<std::string>& args, std::string& problem)
{
    const std::string& command = args.at(0);
    if (command == "read")
        return ParseRead(args, problem);
    if (command == "write")
        return ParseWrite(args, problem);
    if (command == "call")
        return ParseCall(args, problem);
    if (command == "identify")
        return ParseIdentify(args, problem);
    if (command == "sleep")
        return ParseSleep(args, problem);
    problem = command + ": unknown command";
    return {};
}

int RunPortCommand(const Options& options)
{
    std::string problem;
    const PortAction action = ParsePortAction(options.args, problem);
    if (!action)
        return UsageError(problem);
    if (const auto refused = RequireOneTarget(options))
        return *refused;
    if (!OpenPort(options))
        return kExitFailed;
    // A write that went out is recorded before a signal ends the program.
    const InterruptScope interruptible;
    const CancelOnSignal cancellable(g_ComIF);
    std::optional<AcceptedReplacement> accepted;
    if (PortActionWrites(options.args))
        if (const auto refused = CheckBeforeWrite(
                options, options.targets.empty() ? Target{} : options.targets.front(), g_ComIF,
                false, accepted)) {
            ErrorLine(refused->line);
            Finish(CResult());
            return kExitFailed;
        }
    int status = action(g_ComIF);
    if (accepted)
        if (const auto failed = SettleReplacement(*accepted, status == kExitOk)) {
            ErrorLine(failed->line);
            status = kExitFailed;
        }
    Finish(CResult());
    EndIfInterrupted();
    return status;
}

} // namespace vireoctl
