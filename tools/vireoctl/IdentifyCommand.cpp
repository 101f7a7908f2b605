#include "tools/vireoctl/IdentifyCommand.h"

#include "comm/ComIF.h"
#include "tools/vireoctl/Fleet.h"

#include <cstdio>

namespace vireoctl {

int IdentifyText(CComIF& com, std::string& text)
{
    CameraIdentity identity;
    if (const int result = ReadCameraIdentity(&com, identity); result != 0)
        return result;
    text = "vendor\t" + identity.vendor + "\nmodel\t" + identity.model + "\nserial\t" +
           identity.serial + "\ncpu\t" + identity.cpu + "\n";
    if (identity.kind && IsRVQM52(*identity.kind))
        text += "fpga\t" + identity.fpga + "\n";
    text += std::string("kind\t") + (identity.kind ? CameraModelName(*identity.kind) : "unknown") +
            "\n";
    return 0;
}

int Identify(const Options& options)
{
    if (options.args.size() != 1)
        return UsageError("identify: takes no argument");
    const std::vector<JobResult> results =
        RunOnTargets(options, false, [](CComIF& com, const TransferProgress&) {
            JobResult job;
            const int result = IdentifyText(com, job.out);
            if (result != 0)
                job.Fail(ResultText(com, result));
            return job;
        });
    return PrintBlocks(options, results);
}

} // namespace vireoctl
