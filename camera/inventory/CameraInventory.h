// The inventory: the cameras of a line by name, each with its port and, where known, the model
// and serial number it should answer with. A TOML file, by default
// $XDG_CONFIG_HOME/VireoStudio/cameras.toml:
//
//   [cameras.line3-cam2]
//   port = "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0"   # or "cl:0"
//   model = "RVQM52CM14"
//   serial = "5220041"
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace inventory {

struct InventoryCamera {
    std::string name;
    std::string port;           // as written: a port name, or "cl:INDEX"
    std::optional<int> clIndex; // the Camera Link port index a "cl:" port names
    std::optional<std::string> model;
    std::optional<std::string> serial;

    // The port name, or "cl:INDEX" with the index as read.
    std::string PortLabel() const;
};

struct CameraInventory {
    std::string path;
    std::vector<InventoryCamera> cameras; // in the file's order

    const InventoryCamera* Find(const std::string& name) const;
};

// $XDG_CONFIG_HOME/VireoStudio/cameras.toml, XDG_CONFIG_HOME defaulting to ~/.config.
std::string DefaultInventoryPath();

// Reads and checks the whole file. False with "PATH:LINE: NAME: FAULT" (or "PATH: FAULT" for a
// file that cannot be read) at the first fault.
bool ReadCameraInventory(const std::string& path, CameraInventory& inventory, std::string& problem);
// The same for a file's text already read.
bool ParseCameraInventory(const std::string& path, const std::string& text,
                          CameraInventory& inventory, std::string& problem);

} // namespace inventory
