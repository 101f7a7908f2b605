#include "tools/vireoctl/CamerasCommand.h"

#include "camera/settings/CameraIdentity.h"
#include "tools/vireoctl/Fleet.h"
#include "tools/vireoctl/Inventory.h"
#include "tools/vireoctl/TerminalText.h"

#include <cstdio>

namespace vireoctl {

int ListCameras(const Options& options)
{
    if (options.args.size() != 1)
        return UsageError("cameras: takes no argument");
    if (!options.targets.empty())
        return UsageError("cameras: lists the whole inventory; takes no --port, --cl or --camera");
    Inventory inventory;
    std::string problem;
    if (!ReadInventory(options.inventoryPath.value_or(DefaultInventoryPath()), inventory,
                       problem)) {
        ErrorLine("error: " + problem);
        return kExitUsage;
    }
    if (inventory.entries.empty()) {
        if (options.json)
            PrintJsonDocument(options, OrderedJson::array());
        return kExitOk;
    }
    Options each = options;
    for (const InventoryEntry& entry : inventory.entries)
        each.targets.push_back(entry.target);
    if (const auto refused = CheckCameraLinkIndexes(each.targets, inventory.path))
        return *refused;

    const std::vector<JobResult> results =
        RunOnTargets(each, false, [](CComIF& com, const TransferProgress&) {
            JobResult job;
            CameraIdentity identity;
            if (const CResult result = ReadCameraIdentity(&com, identity)) {
                job.Fail(result);
                // A camera that answers NAK is there: it refuses, it is not silent.
                if (result.Refused())
                    job.facts["state"] = "refused";
            } else
                job.out = identity.model + "\t" + identity.serial;
            return job;
        });

    int status = kExitOk;
    OrderedJson listed = OrderedJson::array();
    for (std::size_t i = 0; i < results.size(); ++i) {
        const Target& target = each.targets[i];
        const JobResult& result = results[i];
        std::string state;
        std::string found = "-\t-";
        if (result.status == kExitOk) {
            found = result.out;
            const std::string model = found.substr(0, found.find('\t'));
            const std::string serial = found.substr(found.find('\t') + 1);
            const bool expected = (!target.model || *target.model == model) &&
                                  (!target.serial || *target.serial == serial);
            state = expected ? "ok" : "replaced";
        } else {
            // A port that did not open fails before any exchange, with an "error: " line.
            const bool opened =
                !result.errors.empty() && result.errors.front().line.rfind("error: ", 0) != 0;
            state = !opened                                        ? "no-port"
                    : result.facts.value("state", "") == "refused" ? "refused"
                                                                   : "no-answer";
        }
        if (state != "ok")
            status = kExitFailed;
        if (options.json) {
            const auto text = [](const std::optional<std::string>& value) {
                return value ? OrderedJson(*value) : OrderedJson();
            };
            OrderedJson camera = CameraJson(result);
            // A camera that answered as another is no success either.
            camera["result"] = state == "ok" ? "ok" : "failed";
            camera["expected_model"] = text(target.model);
            camera["expected_serial"] = text(target.serial);
            camera["port_opens"] = state != "no-port";
            camera["state"] = state;
            const bool answered = result.status == kExitOk;
            camera["model"] = answered ? OrderedJson(found.substr(0, found.find('\t'))) : nullptr;
            camera["serial"] = answered ? OrderedJson(found.substr(found.find('\t') + 1)) : nullptr;
            listed.push_back(std::move(camera));
            continue;
        }
        // The camera's texts are escaped: a serial number may hold terminal controls.
        const std::string shown = result.status == kExitOk
                                      ? TerminalText(found.substr(0, found.find('\t'))) + "\t" +
                                            TerminalText(found.substr(found.find('\t') + 1))
                                      : found;
        std::printf("%s\t%s\t%s\t%s\n", target.name.c_str(), target.PortLabel().c_str(),
                    state.c_str(), shown.c_str());
        FlushOutput();
        if (result.status != kExitOk)
            ErrorLine(target.name + ": " + result.Reason());
    }
    if (options.json)
        PrintJsonDocument(options, std::move(listed));
    return status;
}

} // namespace vireoctl
