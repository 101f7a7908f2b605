// vireoctl's view of the inventory (camera/inventory/CameraInventory.h): each camera as a target
// named after its entry, with the model and serial number it should answer with.
#pragma once

#include "camera/inventory/CameraInventory.h"
#include "tools/vireoctl/Session.h"

#include <optional>
#include <string>
#include <vector>

namespace vireoctl {

struct InventoryEntry {
    std::string name;
    Target target; // its port, named after the entry, with the model and serial it expects
};

struct Inventory {
    std::string path;
    std::vector<InventoryEntry> entries; // in the file's order

    const InventoryEntry* Find(const std::string& name) const;
};

using inventory::DefaultInventoryPath;

// Reads and checks the whole file. False with "PATH:LINE: NAME: FAULT" (or "PATH: FAULT" for a
// file that cannot be read) at the first fault.
bool ReadInventory(const std::string& path, Inventory& inventory, std::string& problem);

// Replaces the named targets of options (--camera NAME, --all) by the inventory's entries, in
// the order given. Reads the inventory only when a camera is named; a fault in it, an unknown
// name or a camera given twice is printed and gives the exit status (kExitUsage).
std::optional<int> ResolveCameraNames(Options& options);

} // namespace vireoctl
