#include "tools/vireoctl/Inventory.h"

#include <algorithm>
#include <map>

namespace vireoctl {

const InventoryEntry* Inventory::Find(const std::string& name) const
{
    for (const InventoryEntry& entry : entries)
        if (entry.name == name)
            return &entry;
    return nullptr;
}

bool ReadInventory(const std::string& path, Inventory& inventory, std::string& problem)
{
    inventory = Inventory{path, {}};
    inventory::CameraInventory cameras;
    if (!inventory::ReadCameraInventory(path, cameras, problem))
        return false;
    for (const inventory::InventoryCamera& camera : cameras.cameras) {
        Target target;
        if (camera.clIndex)
            target.clIndex = camera.clIndex;
        else
            target.port = camera.port;
        target.name = camera.name;
        target.model = camera.model;
        target.serial = camera.serial;
        inventory.entries.push_back({camera.name, std::move(target)});
    }
    return true;
}

std::optional<int> ResolveCameraNames(Options& options)
{
    const bool named = options.allCameras ||
                       std::any_of(options.targets.begin(), options.targets.end(),
                                   [](const Target& target) { return !target.name.empty(); });
    if (!named)
        return std::nullopt;
    Inventory inventory;
    std::string problem;
    const std::string path = options.inventoryPath.value_or(DefaultInventoryPath());
    if (!ReadInventory(path, inventory, problem)) {
        ErrorLine("error: " + problem);
        return kExitUsage;
    }
    std::vector<Target> given = options.targets;
    if (options.allCameras) {
        if (inventory.entries.empty())
            return UsageError("--all: " + path + " names no camera");
        for (const InventoryEntry& entry : inventory.entries)
            given.push_back(entry.target);
    }
    std::vector<Target> targets;
    // Each port's first target: a whole line's cameras are checked in n log n.
    std::map<std::pair<int, std::string>, std::size_t> ports;
    for (Target target : given) {
        if (!target.name.empty() && target.port.empty() && !target.clIndex) {
            const InventoryEntry* entry = inventory.Find(target.name);
            if (!entry)
                return UsageError("--camera " + target.name + ": not in " + path);
            target = entry->target;
        }
        const auto [first, added] =
            ports.emplace(std::pair(target.clIndex.value_or(-1), target.port), targets.size());
        if (!added) {
            const Target& other = targets[first->second];
            return UsageError(
                target.Label() + ": given twice" +
                (other.Label() != target.Label() ? " (as " + other.Label() + ")" : std::string()));
        }
        targets.push_back(target);
    }
    options.targets = std::move(targets);
    return std::nullopt;
}

} // namespace vireoctl
