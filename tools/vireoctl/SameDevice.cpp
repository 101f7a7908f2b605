#include "tools/vireoctl/SameDevice.h"

#include "platform/files/SystemCalls.h"
#include "platform/serial/PortName.h"
#include "tools/vireoctl/Session.h"

#include <map>

namespace vireoctl {

std::optional<int> RefuseSameDevice(const Options& options)
{
    // Each device's first target; a port that does not exist is left to its open to report.
    std::map<std::uint64_t, const Target*> seen;
    for (const Target& target : options.targets) {
        serial::PortAddress address;
        std::string problem;
        std::uint64_t device = 0;
        if (target.clIndex || !serial::ParsePortName(target.port, address, problem) ||
            address.kind != serial::PortNameKind::Device ||
            !files::CharDeviceKey(address.path, device))
            continue;
        const auto [first, added] = seen.emplace(device, &target);
        if (!added)
            return UsageError(target.Label() + ": the same device as " + first->second->Label());
    }
    return std::nullopt;
}

} // namespace vireoctl
