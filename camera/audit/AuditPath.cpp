#include "camera/audit/AuditTrail.h"

#include "platform/profile/Profile.h"

#include <cstdlib>
#include <cstring>

std::string DefaultAuditPath()
{
    const char* state = std::getenv("XDG_STATE_HOME");
    if (state && *state == '/')
        return std::string(state) + "/VireoStudio/audit.jsonl";
    // A home that is no absolute folder, or the root itself (a service's), is no place for it.
    const char* home = std::getenv("HOME");
    if (!home || *home != '/' || std::strspn(home, "/") == std::strlen(home))
        return {};
    return std::string(home) + "/.local/state/VireoStudio/audit.jsonl";
}

std::string ConfiguredAuditPath()
{
    const std::string stored = profile::GetProfileString("Settings\\Audit", "File", "");
    return stored.empty() ? DefaultAuditPath() : stored;
}

bool SiteRequiresAudit()
{
    return profile::GetSiteProfileInt("Settings\\Audit", "Required", 0) != 0;
}
