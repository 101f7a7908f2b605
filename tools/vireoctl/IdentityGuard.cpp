#include "tools/vireoctl/IdentityGuard.h"

#include "camera/inventory/CameraReplacement.h"
#include "camera/inventory/InventorySerial.h"
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
                                                 CComIF& com, bool prefixed,
                                                 std::optional<AcceptedReplacement>& accepted)
{
    accepted.reset();
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
    if (!options.acceptReplacement) {
        const std::string reason = replacement->text + "; nothing was written";
        return JobResult::Error{target.name + ": " + reason, reason};
    }
    accepted = AcceptedReplacement{
        target.name, replacement->text, prefixed ? std::string() : target.name + ": ",
        options.inventoryPath.value_or(DefaultInventoryPath()),
        replacement->recordSerial ? std::optional(identity.serial) : std::nullopt};
    return std::nullopt;
}

std::optional<JobResult::Error> SettleReplacement(const AcceptedReplacement& accepted, bool changed)
{
    if (!changed) {
        ErrorLine(accepted.prefix + accepted.found + "; not accepted, the command failed" +
                  (accepted.serial ? "; " + accepted.path + " is left as it was" : ""));
        return std::nullopt;
    }
    std::string updated;
    if (accepted.serial) {
        std::string problem;
        if (!inventory::UpdateInventorySerial(accepted.path, accepted.name, *accepted.serial,
                                              problem)) {
            const std::string reason =
                accepted.found + "; written anyway, but the inventory is not updated: " + problem;
            return JobResult::Error{accepted.name + ": " + reason, reason};
        }
        updated = "; " + accepted.path + " now gives serial " + *accepted.serial;
    }
    ErrorLine(accepted.prefix + accepted.found + "; written anyway" + updated);
    return std::nullopt;
}

} // namespace vireoctl
