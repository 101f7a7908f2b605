#include "tools/vireoctl/Audit.h"

#include "camera/settings/SettingsTransfer.h"
#include "comm/ComIF.h"
#include "platform/profile/Profile.h"
#include "tools/vireoctl/ConnectionIdentity.h"
#include "tools/vireoctl/Inventory.h"
#include "tools/vireoctl/Session.h"

#include <atomic>
#include <cstdio>

namespace vireoctl {
namespace {

std::string g_path;
std::atomic<bool> g_failed{false};

// An identity that cannot be read stays empty in the record.
CameraIdentity IdentityOf(CComIF& com)
{
    CameraIdentity identity;
    if (ConnectionIdentity(com, identity))
        return {};
    return identity;
}

int Verify(const std::string& path)
{
    std::string error;
    const auto broken = VerifyAudit(path, error);
    if (!error.empty()) {
        ErrorLine("error: " + error);
        return kExitFailed;
    }
    if (broken) {
        std::printf("%s:%zu: the chain breaks: %s\n", path.c_str(), broken->line,
                    broken->reason.c_str());
        return kExitFailed;
    }
    std::printf("%s: whole\n", path.c_str());
    return kExitOk;
}

// Which lines show: those of a serial number, or of an inventory camera (by the serial number it
// should answer with, else by its port), and from a time on.
struct ShowFilter {
    std::string serial;
    std::string port;
    std::string since;
    bool Takes(const AuditEntry& entry) const
    {
        return (serial.empty() || entry.serial == serial) && (port.empty() || entry.port == port) &&
               (since.empty() || entry.time.compare(0, since.size(), since) >= 0);
    }
};

int Show(const std::string& path, const ShowFilter& filter)
{
    std::string error;
    const std::vector<AuditEntry> entries = ReadAudit(path, error);
    if (!error.empty()) {
        ErrorLine("error: " + error);
        return kExitFailed;
    }
    for (const AuditEntry& entry : entries) {
        if (!filter.Takes(entry))
            continue;
        std::printf("%s  %s@%s  %s  %s %s on %s  %s: %s -> %s  %s\n", entry.time.c_str(),
                    entry.user.c_str(), entry.host.c_str(), entry.program.c_str(),
                    entry.model.c_str(), entry.serial.c_str(), entry.port.c_str(),
                    entry.what.c_str(), entry.before.empty() ? "?" : entry.before.c_str(),
                    entry.after.empty() ? "?" : entry.after.c_str(), entry.result.c_str());
    }
    return kExitOk;
}

} // namespace

std::optional<int> RefuseNoAudit(const Options& options)
{
    if (!options.noAudit)
        return std::nullopt;
    if (options.auditFile)
        return UsageError("--no-audit: not with --audit");
    if (!SiteRequiresAudit())
        return std::nullopt;
    ErrorLine("error: --no-audit: the site's settings (" + profile::SiteStoreFileName() +
              ") require every change to be recorded in the audit trail");
    return kExitUsage;
}

void ConfigureAudit(const Options& options)
{
    if (options.noAudit)
        g_path.clear();
    else if (options.auditFile)
        g_path = *options.auditFile;
    else
        g_path = ConfiguredAuditPath();
}

CResult IdentifyBeforeWriting(CComIF& com)
{
    CameraIdentity identity;
    const CResult result = ConnectionIdentity(com, identity);
    return IsLinkFailure(result) ? result : CResult();
}

void RecordWrites(CComIF& com, const std::string& operation,
                  const std::vector<RegisterWrite>& writes)
{
    if (auto change = ChangeOfWrites(operation, writes))
        RecordChange(com, std::move(*change));
    if (WritesIdentity(writes))
        ForgetConnectionIdentity(com);
}

void RecordChange(CComIF& com, AuditChange change)
{
    RecordChanges(com, {std::move(change)});
}

void RecordChanges(CComIF& com, std::vector<AuditChange> changes)
{
    if (g_path.empty())
        return; // --no-audit
    const CameraIdentity identity = IdentityOf(com);
    for (AuditChange& change : changes) {
        change.program = "vireoctl";
        change.version = VIREO_VERSION;
        change.port = SelectedPortName(com);
        change.model = identity.model;
        change.serial = identity.serial;
    }
    std::string error;
    if (AppendAudit(g_path, changes, error))
        return;
    if (!g_failed.exchange(true))
        ErrorLine("warning: the change is made but not recorded: " + error);
}

int AuditStatus(int status)
{
    return status == kExitOk && g_failed.load() ? kExitNotRecorded : status;
}

int RunAuditCommand(const Options& options)
{
    const std::vector<std::string>& args = options.args;
    if (args.size() < 2 || (args[1] != "verify" && args[1] != "show"))
        return UsageError("audit: takes verify or show");
    ShowFilter filter;
    std::string camera;
    std::string path;
    for (std::size_t i = 2; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (args[1] == "show" && (arg == "--serial" || arg == "--since" || arg == "--camera")) {
            if (i + 1 >= args.size())
                return UsageError("audit show: " + arg + " takes a value");
            (arg == "--serial"  ? filter.serial
             : arg == "--since" ? filter.since
                                : camera) = args[++i];
        } else if (path.empty() && arg.rfind("--", 0) != 0) {
            path = arg;
        } else {
            return UsageError("audit " + args[1] + ": " + arg + ": not understood");
        }
    }
    if (!camera.empty()) {
        Inventory inventory;
        std::string problem;
        const std::string file = options.inventoryPath.value_or(DefaultInventoryPath());
        if (!ReadInventory(file, inventory, problem))
            return UsageError("error: " + problem);
        const InventoryEntry* entry = inventory.Find(camera);
        if (!entry)
            return UsageError("audit show: --camera " + camera + ": not in " + file);
        if (entry->target.serial)
            filter.serial = *entry->target.serial;
        else
            filter.port = entry->target.PortLabel();
    }
    if (path.empty()) {
        ConfigureAudit(options);
        path = g_path;
    }
    return args[1] == "verify" ? Verify(path) : Show(path, filter);
}

} // namespace vireoctl
