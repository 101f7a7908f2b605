#include "tools/vireoctl/OpsCommands.h"

#include "comm/ComIF.h"
#include "tools/vireoctl/IdentifyCommand.h"
#include "tools/vireoctl/NamedOps.h"

#include <cstdio>

namespace vireoctl {

int ListOperations(const Options& options)
{
    if (options.args.size() != 2)
        return Usage();
    const auto kind = MapOfModel(options.args[1]);
    if (!kind)
        return Usage();
    for (const NamedOp& op : OperationsOf(*kind))
        std::printf("%s\n", op.name.c_str());
    return kExitOk;
}

int CallOperation(const Options& options)
{
    if (options.args.size() < 3)
        return Usage();
    std::string model = options.args[1];
    // "auto": the operation is looked up once the camera has said which model it is.
    const bool identify = model == kAutoModel;
    if (identify) {
        if (!OpenPort(options))
            return kExitFailed;
        CameraIdentity identity;
        int status = kExitFailed;
        const auto identified = IdentifyModel(identity, status);
        if (!identified)
            return status;
        model = CameraModelName(*identified);
    }
    const auto kind = MapOfModel(model);
    if (!kind)
        return Usage();
    const NamedOp* op = FindOperation(*kind, options.args[2]);
    if (!op)
        return Usage();
    const std::vector<std::string> args(options.args.begin() + 3, options.args.end());
    const BoundOp run = op->bind(args);
    if (!run)
        return Usage();
    if (!identify && !OpenPort(options))
        return kExitFailed;
    const auto map = MakeMap(*kind, &g_ComIF);
    std::vector<std::string> outputs;
    const int result = run(*map, outputs);
    if (result == 0)
        for (const std::string& output : outputs)
            std::printf("%s\n", output.c_str());
    return Finish(result);
}

} // namespace vireoctl
