#include "tools/vireoctl/SameDevice.h"

#include "platform/serial/PortHolders.h"
#include "platform/serial/PortName.h"
#include "tools/vireoctl/Session.h"

#include <map>

#include <sys/stat.h>

namespace vireoctl {

std::optional<int> RefuseSameDevice(const Options& options)
{
    // Each device's first target; a port that does not exist is left to its open to report.
    std::map<dev_t, const Target*> seen;
    for (const Target& target : options.targets) {
        serial::PortAddress address;
        std::string problem;
        struct stat info {};
        if (target.clIndex || !serial::ParsePortName(target.port, address, problem) ||
            address.kind != serial::PortNameKind::Device ||
            ::stat(address.path.c_str(), &info) != 0 || !S_ISCHR(info.st_mode) ||
            serial::OpensTerminalOfItsOwn(info.st_rdev))
            continue;
        const auto [first, added] = seen.emplace(info.st_rdev, &target);
        if (!added)
            return UsageError(target.Label() + ": the same device as " + first->second->Label());
    }
    return std::nullopt;
}

} // namespace vireoctl
