// Whether the camera that answers on an inventory camera's port is the one the inventory names,
// in the words vireoctl and the window both use.
#pragma once

#include <optional>
#include <string>

namespace inventory {

struct Replacement {
    // "camera replaced: expected RVQM52CM14 5220041, found RVQM52CM14 5220077"
    std::string text;
    // Writing anyway keeps the answering camera's serial number in the inventory: it differs
    // from the inventory's, or the inventory gave none.
    bool recordSerial = false;
};

// Nothing when the camera's model and serial number (as it answered) are those expected; only
// what the inventory gives is compared.
std::optional<Replacement> FindReplacement(const std::optional<std::string>& expectedModel,
                                           const std::optional<std::string>& expectedSerial,
                                           const std::string& model, const std::string& serial);

} // namespace inventory
