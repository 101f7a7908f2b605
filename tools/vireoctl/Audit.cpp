#include "tools/vireoctl/Audit.h"

#include "camera/settings/SettingsTransfer.h"
#include "camera/audit/IsoTime.h"
#include "comm/ComIF.h"
#include "platform/profile/Profile.h"
#include "tools/vireoctl/ConnectionIdentity.h"
#include "tools/vireoctl/Inventory.h"
#include "tools/vireoctl/Session.h"
#include "tools/vireoctl/TerminalText.h"

#include <atomic>
#include <cstdint>
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
    std::size_t breaks = 0;
    std::string error;
    VerifyAudit(
        path,
        [&](const AuditBreak& found) {
            if (found.repaired) {
                std::printf("%s:%zu: repaired: %s\n", path.c_str(), found.line,
                            found.reason.c_str());
                return;
            }
            ++breaks;
            std::printf("%s:%zu: the chain breaks: %s\n", path.c_str(), found.line,
                        found.reason.c_str());
        },
        error);
    if (!error.empty()) {
        ErrorLine("error: " + error);
        return kExitFailed;
    }
    if (breaks > 0)
        return kExitFailed;
    std::printf("%s: whole\n", path.c_str());
    return kExitOk;
}

// Which lines show: those of a serial number, or of an inventory camera (by the serial number it
// should answer with, else by its port), and from a time on.
struct ShowFilter {
    std::string serial;
    std::string port;
    std::optional<std::int64_t> since; // milliseconds since 1970 UTC
    bool From(const std::string& time) const
    {
        if (!since)
            return true;
        const auto at = ParseIsoTime(time);
        return at && *at >= *since;
    }
    bool Takes(const AuditEntry& entry) const
    {
        return From(entry.time) && (serial.empty() || entry.serial == serial) &&
               (port.empty() || entry.port == port);
    }
};

// A register and its values in hexadecimal, as write and read take and give them; a named
// setting's values in decimal, as call takes them.
std::string ValueText(const AuditEntry& entry, const std::string& text,
                      const std::optional<long long>& value)
{
    if (text.empty())
        return "?";
    if (!entry.address || !value || *value < 0)
        return TerminalText(text);
    char hex[24];
    std::snprintf(hex, sizeof hex, "%llX", *value);
    return hex;
}

std::string WhatText(const AuditEntry& entry)
{
    if (!entry.address || *entry.address < 0)
        return TerminalText(entry.what);
    char hex[40];
    std::snprintf(hex, sizeof hex, "register %llX", *entry.address);
    return entry.setting.empty() ? hex : TerminalText(entry.setting) + " (" + hex + ")";
}

int Show(const std::string& path, const ShowFilter& filter)
{
    std::size_t unreadable = 0;
    std::string error;
    const bool read = ReadAuditLines(
        path,
        [&filter](const AuditEntry& entry) {
            // A repair concerns every camera's lines: it shows whatever camera is asked for.
            if (!entry.repair.empty()) {
                if (filter.From(entry.time))
                    std::printf("%s  %s@%s  %s  repair: %s: %s\n", TerminalText(entry.time).c_str(),
                                TerminalText(entry.user).c_str(), TerminalText(entry.host).c_str(),
                                TerminalText(entry.program).c_str(), entry.repair.c_str(),
                                TerminalText(entry.cut).c_str());
                return;
            }
            if (!filter.Takes(entry))
                return;
            // An operation that wrote several registers (or a text) lists them after its result.
            const std::string registers =
                entry.registers.empty() ? "" : "  [" + TerminalText(entry.registers) + "]";
            std::printf("%s  %s@%s  %s  %s %s on %s  %s: %s -> %s  %s%s\n",
                        TerminalText(entry.time).c_str(), TerminalText(entry.user).c_str(),
                        TerminalText(entry.host).c_str(), TerminalText(entry.program).c_str(),
                        TerminalText(entry.model).c_str(), TerminalText(entry.serial).c_str(),
                        TerminalText(entry.port).c_str(), WhatText(entry).c_str(),
                        ValueText(entry, entry.before, entry.beforeValue).c_str(),
                        ValueText(entry, entry.after, entry.afterValue).c_str(),
                        TerminalText(entry.result).c_str(), registers.c_str());
        },
        [&](std::size_t line) {
            ++unreadable;
            FlushOutput();
            ErrorLine("warning: " + path + ":" + std::to_string(line) +
                      ": not a line of the trail, passed over");
        },
        error);
    if (!read) {
        ErrorLine("error: " + error);
        return kExitFailed;
    }
    return unreadable > 0 ? kExitFailed : kExitOk;
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

bool AuditEnabled()
{
    return !g_path.empty();
}

CResult IdentifyBeforeWriting(CComIF& com)
{
    if (!AuditEnabled())
        return {};
    CameraIdentity identity;
    const CResult result = ConnectionIdentity(com, identity);
    return IsLinkFailure(result) ? result : CResult();
}

CResult WatchWrites(CRVXReg& reg, std::vector<RegisterWrite>& writes,
                    const std::function<CResult()>& action)
{
    if (!AuditEnabled())
        return action();
    const CWriteRecorder recorder(reg);
    const CResult result = action();
    writes = recorder.Writes();
    return result;
}

void RecordWrites(CComIF& com, const std::string& operation,
                  const std::vector<RegisterWrite>& writes,
                  const std::function<void(AuditChange&)>& shape)
{
    if (auto change = ChangeOfWrites(operation, writes)) {
        if (shape)
            shape(*change);
        RecordChange(com, std::move(*change));
    }
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
            const std::string& value = args[++i];
            if (arg == "--since") {
                filter.since = ParseIsoTime(value);
                if (!filter.since)
                    return UsageError("audit show: --since " + value +
                                      ": not an ISO 8601 date or time (2026-12-08, "
                                      "2026-12-08T10:00, 2026-12-08T10:00:00+01:00)");
            } else {
                (arg == "--serial" ? filter.serial : camera) = value;
            }
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
