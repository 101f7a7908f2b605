#include "tools/vireoctl/IdentifyCommand.h"

#include "comm/ComIF.h"
#include "tools/vireoctl/Fleet.h"
#include "tools/vireoctl/TerminalText.h"

#include <cstdio>

namespace vireoctl {

namespace {

// The camera's own texts are escaped: they may hold anything, terminal controls included.
std::string IdentityText(const CameraIdentity& identity)
{
    std::string text = "vendor\t" + TerminalText(identity.vendor) + "\nmodel\t" +
                       TerminalText(identity.model) + "\nserial\t" + TerminalText(identity.serial) +
                       "\ncpu\t" + TerminalText(identity.cpu) + "\n";
    if (identity.kind && IsRVQM52(*identity.kind))
        text += "fpga\t" + TerminalText(identity.fpga) + "\n";
    text += std::string("kind\t") + (identity.kind ? CameraModelName(*identity.kind) : "unknown") +
            "\n";
    return text;
}

} // namespace

CResult IdentifyText(CComIF& com, std::string& text)
{
    CameraIdentity identity;
    if (const CResult result = ReadCameraIdentity(&com, identity))
        return result;
    text = IdentityText(identity);
    return REG_OK;
}

OrderedJson IdentityJson(const CameraIdentity& identity)
{
    OrderedJson facts = OrderedJson::object();
    facts["vendor"] = identity.vendor;
    facts["model"] = identity.model;
    facts["serial"] = identity.serial;
    facts["cpu"] = identity.cpu;
    if (identity.kind && IsRVQM52(*identity.kind))
        facts["fpga"] = identity.fpga;
    facts["kind"] = identity.kind ? OrderedJson(CameraModelName(*identity.kind)) : OrderedJson();
    return facts;
}

int Identify(const Options& options)
{
    if (options.args.size() != 1)
        return UsageError("identify: takes no argument");
    // Several cameras' blocks are printed as each is known, in target order.
    const bool streamed = !options.json && options.targets.size() > 1;
    const std::vector<JobResult> results = RunOnTargets(
        options, false,
        [](CComIF& com, const TransferProgress&) {
            JobResult job;
            CameraIdentity identity;
            if (const CResult result = ReadCameraIdentity(&com, identity)) {
                job.Fail(result);
                return job;
            }
            job.out = IdentityText(identity);
            job.facts = IdentityJson(identity);
            return job;
        },
        streamed ? ResultShown(PrintBlock) : ResultShown());
    if (streamed)
        return BlocksStatus(results);
    return options.json ? PrintJson(options, results) : PrintBlocks(options, results);
}

} // namespace vireoctl
