#include "camera/inventory/CameraReplacement.h"

namespace inventory {
namespace {

// "RVQM52CM14 5220041": what the inventory gives, the camera's answer in the same terms.
std::string Describe(bool withModel, bool withSerial, const std::string& model,
                     const std::string& serial)
{
    std::string text = withModel ? model : std::string();
    if (withSerial)
        text += (text.empty() ? "" : " ") + serial;
    return text;
}

} // namespace

std::optional<Replacement> FindReplacement(const std::optional<std::string>& expectedModel,
                                           const std::optional<std::string>& expectedSerial,
                                           const std::string& model, const std::string& serial)
{
    const bool sameModel = !expectedModel || model == *expectedModel;
    const bool sameSerial = !expectedSerial || serial == *expectedSerial;
    if (sameModel && sameSerial)
        return std::nullopt;
    const bool withModel = expectedModel.has_value();
    const bool withSerial = expectedSerial.has_value();
    return Replacement{"camera replaced: expected " +
                           Describe(withModel, withSerial, expectedModel.value_or(""),
                                    expectedSerial.value_or("")) +
                           ", found " + Describe(withModel, withSerial, model, serial),
                       !sameSerial || !expectedSerial};
}

} // namespace inventory
