#include "camera/audit/AuditTrail.h"

#include "platform/files/SystemCalls.h"
#include "platform/profile/Profile.h"

std::string DefaultAuditPath()
{
    return files::UserStateFile("audit.jsonl");
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
