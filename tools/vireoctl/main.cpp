// vireoctl: the camera's registers from a shell, on the same port and register code as the
// program.
#include "camera/RVXReg.h"
#include "comm/ComIF.h"
#include "tools/vireoctl/Session.h"

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

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!ParseOptions(argc, argv, options))
        return Usage();
    InstallOutput(options);
    const std::string& command = options.args[0];
    if (command == "read")
        return Read(options);
    if (command == "write")
        return Write(options);
    return Usage();
}
