// vireoctl: the camera's registers from a shell, on the same port and register code as the
// program.
#include "camera/RVXReg.h"
#include "comm/ComIF.h"
#include "comm/LinkAction.h"
#include "platform/camlink/ClLibrary.h"
#include "tools/vireoctl/IdentifyCommand.h"
#include "tools/vireoctl/InfoOptions.h"
#include "tools/vireoctl/OpsCommands.h"
#include "tools/vireoctl/Session.h"
#include "tools/vireoctl/SettingsCommands.h"

#include <cstdio>

namespace {

using namespace vireoctl;

int Read(const Options& options)
{
    int address = 0;
    if (options.args.size() != 2 || !ParseHexArgument(options.args[1], 0xFFF, address))
        return Usage();
    if (!OpenPort(options))
        return kExitFailed;
    CRVXReg reg(&g_ComIF);
    std::uint8_t value = 0;
    const int result = reg.ReadRegister(address, value);
    if (result == 0)
        std::printf("%02X\n", value);
    return Finish(result);
}

int Write(const Options& options)
{
    int address = 0;
    int value = 0;
    if (options.args.size() != 3 || !ParseHexArgument(options.args[1], 0xFFF, address) ||
        !ParseHexArgument(options.args[2], 0xFF, value))
        return Usage();
    if (!OpenPort(options))
        return kExitFailed;
    CRVXReg reg(&g_ComIF);
    return Finish(reg.WriteRegister(address, value));
}

// One line per Camera Link port: index, manufacturer, port identifier and version.
int Ports(const Options& options)
{
    if (options.args.size() != 1)
        return Usage();
    CCas& cas = g_ComIF.m_Cas;
    cas.Initialize();
    if (cas.m_nPortCount == 0) {
        const std::string problem = camlink::LibraryProblem();
        std::fprintf(stderr, "error: %s\n",
                     problem.empty() ? "no Camera Link port" : problem.c_str());
        return kExitFailed;
    }
    int status = kExitOk;
    for (std::uint32_t index = 0; index < cas.m_nPortCount; ++index) {
        char manufacturer[CCas::kTextSize];
        char id[CCas::kTextSize];
        std::uint32_t version = 0;
        if (!cas.GetPortInfo(static_cast<int>(index), manufacturer, id, version)) {
            std::fprintf(stderr, "error: no information on Camera Link port %u\n", index);
            status = kExitFailed;
            continue;
        }
        std::printf("%u\t%s\t%s\t%u\n", index, manufacturer, id, version);
    }
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    if (const auto status = AnswerInfoOption(argc, argv))
        return *status;
    Options options;
    if (!ParseOptions(argc, argv, options))
        return Usage();
    InstallOutput(options);
    // One command is one action: after a failure of the link the rest of it is not sent.
    const CLinkAction action;
    const std::string& command = options.args[0];
    if (command == "read")
        return Read(options);
    if (command == "write")
        return Write(options);
    if (command == "ops")
        return ListOperations(options);
    if (command == "call")
        return CallOperation(options);
    if (command == "ports")
        return Ports(options);
    if (command == "identify")
        return Identify(options);
    if (command == "save")
        return SaveSettings(options);
    if (command == "load")
        return LoadSettings(options);
    return Usage();
}
