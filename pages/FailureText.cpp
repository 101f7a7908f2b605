#include "pages/FailureText.h"

namespace pages {

namespace {
constexpr const char* kRefused = "the camera refused the request";
} // namespace

std::string CameraFailureText(const CResult& result)
{
    // Link failures bring the port's own notice; the other register codes are the program's
    // own checks before anything is sent.
    if (result.Kind() != ResultKind::Camera)
        return {};
    if (result.Refused())
        return "The camera refused the request.";
    if (result == REG_INVALID_DATA)
        return "The camera's answer could not be understood.";
    return {};
}

std::string FailureReason(const CResult& result)
{
    if (result.Kind() == ResultKind::Camera && result.Refused() && result.Detail().empty())
        return kRefused;
    return result.Reason();
}

} // namespace pages
