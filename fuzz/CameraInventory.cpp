// The camera inventory's TOML text: whatever it holds, the reader neither crashes nor recurses
// past its stack, a refusal is one line naming the file, and an accepted inventory gives every
// camera a name and a port of its own.
#include "camera/inventory/CameraInventory.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "camera_inventory: %s (%s)\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    inventory::CameraInventory read;
    std::string problem;
    if (!inventory::ParseCameraInventory("F", text, read, problem)) {
        if (problem.rfind("F:", 0) != 0 || problem.find('\n') != std::string::npos)
            Fail("a refusal that is not one line naming the file", problem);
        return 0;
    }
    std::set<std::string> ports;
    for (const inventory::InventoryCamera& camera : read.cameras) {
        if (camera.name.empty() || camera.port.empty())
            Fail("a camera without a name or a port", camera.name + " " + camera.port);
        if (!ports.insert(camera.PortLabel()).second)
            Fail("two cameras on one port", camera.PortLabel());
    }
    return 0;
}
