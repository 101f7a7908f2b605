#include "tools/vireoctl/IdentityGuard.h"

#include "camera/inventory/CameraReplacement.h"
#include "tools/vireoctl/ConnectionIdentity.h"
#include "tools/vireoctl/Inventory.h"

namespace vireoctl {
bool PortActionWrites(const std::vector<std::string>& args)
{
    if (args.empty())
        return false;
    if (args[0] == "write")
        return true;
    // Every operation but a getter writes a register: setters, bank loads and saves, one-push
    // balances.
    return args[0] == "call" && args.size() >= 3 && args[2].rfind("Get", 0) != 0;
}

std::optional<JobResult::Error> CheckBeforeWrite(const Options& options, const Target& target,
                                                 CComIF& com, bool prefixed)
{
    if (target.name.empty() || (!target.model && !target.serial))
        return std::nullopt;
    CameraIdentity identity;
    if (const CResult result = ConnectionIdentity(com, identity)) {
        const std::string error = "error " + CodeText(result) + "; nothing was written";
        return JobResult::Error{error, error};
    }
    const auto replacement =
        inventory::FindReplacement(target.model, target.serial, identity.model, identity.serial);
    if (!replacement)
        return std::nullopt;
    const std::string& found = replacement->text;
    const std::string name = prefixed ? std::string() : target.name + ": ";
    if (!options.acceptReplacement) {
        const std::string reason = found + "; nothing was written";
        return JobResult::Error{target.name + ": " + reason, reason};
    }
    const std::string path = options.inventoryPath.value_or(DefaultInventoryPath());
    std::string updated;
    if (replacement->recordSerial) {
        updated = "; " + path + " now gives serial " + identity.serial;
        std::string problem;
        if (!UpdateInventorySerial(path, target.name, identity.serial, problem)) {
            const std::string reason =
                found + "; the inventory is not updated: " + problem + "; nothing was written";
            return JobResult::Error{target.name + ": " + reason, reason};
        }
    }
    ErrorLine(name + found + "; written anyway" + updated);
    return std::nullopt;
}

} // namespace vireoctl
