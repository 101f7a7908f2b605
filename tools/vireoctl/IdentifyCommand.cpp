#include "tools/vireoctl/IdentifyCommand.h"

#include "comm/ComIF.h"
#include "tools/vireoctl/Fleet.h"

#include <cstdio>

namespace vireoctl {

CResult IdentifyText(CComIF& com, std::string& text)
{
    CameraIdentity identity;
    if (const CResult result = ReadCameraIdentity(&com, identity))
        return result;
    text = "vendor\t" + identity.vendor + "\nmodel\t" + identity.model + "\nserial\t" +
           identity.serial + "\ncpu\t" + identity.cpu + "\n";
    if (identity.kind && IsRVQM52(*identity.kind))
        text += "fpga\t" + identity.fpga + "\n";
    text += std::string("kind\t") + (identity.kind ? CameraModelName(*identity.kind) : "unknown") +
            "\n";
    return REG_OK;
}

int Identify(const Options& options)
{
    if (options.args.size() != 1)
        return UsageError("identify: takes no argument");
    const std::vector<JobResult> results =
        RunOnTargets(options, false, [](CComIF& com, const TransferProgress&) {
            JobResult job;
            const CResult result = IdentifyText(com, job.out);
            if (result)
                job.Fail(result);
            return job;
        });
    return PrintBlocks(options, results);
}

} // namespace vireoctl
