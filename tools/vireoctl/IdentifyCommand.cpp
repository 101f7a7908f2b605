#include "tools/vireoctl/IdentifyCommand.h"

#include "comm/ComIF.h"

#include <cstdio>

namespace vireoctl {

int Identify(const Options& options)
{
    if (options.args.size() != 1)
        return Usage();
    if (!OpenPort(options))
        return kExitFailed;
    CameraIdentity identity;
    if (const int result = ReadCameraIdentity(&g_ComIF, identity); result != 0)
        return Finish(result);
    std::printf("vendor\t%s\nmodel\t%s\nserial\t%s\ncpu\t%s\n", identity.vendor.c_str(),
                identity.model.c_str(), identity.serial.c_str(), identity.cpu.c_str());
    if (identity.kind && IsRVQM52(*identity.kind))
        std::printf("fpga\t%s\n", identity.fpga.c_str());
    std::printf("kind\t%s\n", identity.kind ? CameraModelName(*identity.kind) : "unknown");
    return Finish(0);
}

std::optional<CameraModel> IdentifyModel(CameraIdentity& identity, int& exitStatus)
{
    if (const int result = ReadCameraIdentity(&g_ComIF, identity); result != 0) {
        exitStatus = Finish(result);
        return std::nullopt;
    }
    if (!identity.kind) {
        std::fprintf(stderr, "error: the camera's model \"%s\" is of no known kind\n",
                     identity.model.c_str());
        Finish(0);
        exitStatus = kExitFailed;
        return std::nullopt;
    }
    return identity.kind;
}

} // namespace vireoctl
