#include "tools/vireoctl/OpsCommands.h"

#include "tools/vireoctl/NamedOps.h"

#include <cstdio>

namespace vireoctl {

int ListOperations(const Options& options)
{
    if (options.args.size() != 2)
        return UsageError("ops: takes a model (MODEL)");
    const auto kind = MapOfModel(options.args[1]);
    if (!kind)
        return UsageError("ops: unknown model " + options.args[1]);
    for (const NamedOp& op : OperationsOf(*kind))
        std::printf("%s\n", op.name.c_str());
    return kExitOk;
}

} // namespace vireoctl
