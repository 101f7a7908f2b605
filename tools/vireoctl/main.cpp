// vireoctl: the camera's registers from a shell, on the same port and register code as the
// program.
#include "comm/ComIF.h"
#include "comm/LinkAction.h"
#include "platform/camlink/ClLibrary.h"
#include "platform/files/SystemCalls.h"
#include "platform/serial/HeldPorts.h"
#include "platform/serial/SystemPorts.h"
#include "tools/vireoctl/Audit.h"
#include "tools/vireoctl/CamerasCommand.h"
#include "tools/vireoctl/IdentifyCommand.h"
#include "tools/vireoctl/InfoOptions.h"
#include "tools/vireoctl/Inventory.h"
#include "tools/vireoctl/OpsCommands.h"
#include "tools/vireoctl/PortCommands.h"
#include "tools/vireoctl/SameDevice.h"
#include "tools/vireoctl/ScriptCommand.h"
#include "tools/vireoctl/Session.h"
#include "tools/vireoctl/SettingsCommands.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace vireoctl;

// One line per serial port the system lists (name and device), then one per Camera Link port:
// index, manufacturer, port identifier and version.
int Ports(const Options& options)
{
    if (options.args.size() != 1)
        return UsageError("ports: takes no argument");
    const std::vector<serial::SystemPort> serialPorts = serial::SystemSerialPorts();
    for (const serial::SystemPort& port : serialPorts)
        std::printf("%s\t%s\n", port.name.c_str(), port.device.c_str());
    CCas& cas = g_ComIF.m_Cas;
    cas.Initialize();
    if (cas.m_nPortCount == 0) {
        const std::string problem = camlink::LibraryProblem();
        // Serial ports listed are an answer; the missing grabber is then only noted.
        ErrorLine((serialPorts.empty() ? "error: " : "note: ") +
                  (problem.empty() ? std::string("no Camera Link port") : problem));
        return serialPorts.empty() ? kExitFailed : kExitOk;
    }
    int status = kExitOk;
    for (std::uint32_t index = 0; index < cas.m_nPortCount; ++index) {
        char manufacturer[CCas::kTextSize];
        char id[CCas::kTextSize];
        std::uint32_t version = 0;
        if (!cas.GetPortInfo(static_cast<int>(index), manufacturer, id, version)) {
            ErrorLine("error: no information on Camera Link port " + std::to_string(index));
            status = kExitFailed;
            continue;
        }
        std::printf("%u\t%s\t%s\t%u\n", index, manufacturer, id, version);
    }
    return status;
}

int Run(int argc, char** argv)
{
    if (const auto status = AnswerInfoOption(argc, argv))
        return *status;
    Options options;
    std::string problem;
    if (!ParseOptions(argc, argv, options, problem))
        return UsageError(problem);
    if (const auto refused = ResolveCameraNames(options))
        return *refused;
    if (const auto refused = CheckCameraLinkIndexes(
            options.targets, options.inventoryPath.value_or(DefaultInventoryPath())))
        return *refused;
    if (const auto refused = RefuseSameDevice(options))
        return *refused;
    InstallOutput(options);
    const std::string& command = options.args[0];
    if (options.json && command != "identify" && command != "cameras" && command != "diff" &&
        command != "load" && command != "save")
        return UsageError("--json: not for " + command +
                          " (only identify, cameras, diff, load and save)");
    options.checkBeforeWrite = command == "load";
    if (command == "audit")
        return RunAuditCommand(options);
    if (const auto refused = RefuseNoAudit(options))
        return *refused;
    ConfigureAudit(options);
    // A script makes an action of each line.
    if (command == "script")
        return RunScript(options);
    // One command is one action: after a failure of the link the rest of it is not sent.
    const CLinkAction action;
    if (command == "read" || command == "write" || command == "call")
        return RunPortCommand(options);
    if (command == "ops")
        return ListOperations(options);
    if (command == "ports")
        return Ports(options);
    if (command == "cameras")
        return ListCameras(options);
    if (command == "identify")
        return Identify(options);
    if (command == "save")
        return SaveSettings(options);
    if (command == "load")
        return LoadSettings(options);
    if (command == "diff")
        return DiffSettings(options);
    return UsageError(command + ": unknown command");
}

} // namespace

int main(int argc, char** argv)
{
    // Before anything opens a descriptor: a port must never become standard output.
    SetClosedAtStart(serial::HoldClosedStandardDescriptors());
    // Ended by a signal, vireoctl must not leave its ports held for exclusive use.
    serial::ReleaseHeldPortsOnSignals();
    // A reader that went away is an output error reported on exit, not a silent end.
    serial::ReportBrokenPipeAsError();
    files::ShowUtf8OnConsole();
    BufferOutput();
    std::vector<std::string> arguments = files::CommandLineArguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& argument : arguments)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    return CheckOutput(AuditStatus(Run(argc, pointers.data())));
}
