#include "tools/vireoctl/ConnectionIdentity.h"

#include <map>
#include <mutex>

namespace vireoctl {
namespace {

// Cameras of a run are asked from their own threads, each through its own port object.
std::mutex g_mutex;
std::map<const CComIF*, CameraIdentity> g_known;

} // namespace

CResult ConnectionIdentity(CComIF& com, CameraIdentity& identity)
{
    {
        std::lock_guard lock(g_mutex);
        if (const auto it = g_known.find(&com); it != g_known.end()) {
            identity = it->second;
            return {};
        }
    }
    CameraIdentity read;
    if (const CResult result = ReadCameraModel(&com, read.model, read.kind))
        return result;
    if (const CResult result = ReadCameraSerial(&com, read.serial))
        return result;
    std::lock_guard lock(g_mutex);
    identity = g_known.emplace(&com, read).first->second;
    return {};
}

void ForgetConnectionIdentity(CComIF& com)
{
    std::lock_guard lock(g_mutex);
    g_known.erase(&com);
}

} // namespace vireoctl
