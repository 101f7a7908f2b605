// The inventory: the cameras of a line by name, each with its port and, where known, the model
// and serial number it should answer with. A TOML file, by default
// $XDG_CONFIG_HOME/VireoStudio/cameras.toml:
//
//   [cameras.line3-cam2]
//   port = "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0"   # or "cl:0"
//   model = "RVQM52CM14"
//   serial = "5220041"
#pragma once

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

// $XDG_CONFIG_HOME/VireoStudio/cameras.toml, XDG_CONFIG_HOME defaulting to ~/.config.
std::string DefaultInventoryPath();

// Reads and checks the whole file. False with "PATH:LINE: NAME: FAULT" (or "PATH: FAULT" for a
// file that cannot be read) at the first fault.
bool ReadInventory(const std::string& path, Inventory& inventory, std::string& problem);

// The inventory file's text with the entry's serial number set to serial: the value of its
// serial line replaced, or a serial line added after its port line; every other byte as it was.
// False with the fault when the text no longer holds the entry as an editable table.
bool SetSerialInText(std::string& text, const std::string& name, const std::string& serial,
                     std::string& problem);

// SetSerialInText on the file itself, replaced atomically. Safe from several threads.
bool UpdateInventorySerial(const std::string& path, const std::string& name,
                           const std::string& serial, std::string& problem);

// Replaces the named targets of options (--camera NAME, --all) by the inventory's entries, in
// the order given. Reads the inventory only when a camera is named; a fault in it, an unknown
// name or a camera given twice is printed and gives the exit status (kExitUsage).
std::optional<int> ResolveCameraNames(Options& options);

} // namespace vireoctl
