// The audit trail: one JSON line per change a program makes to a camera, appended to a file
// that several programs may share. Each line carries the SHA-256 of the line before it, so that
// an edited, removed or reordered line breaks the chain where it happened.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

struct AuditChange {
    std::string program; // "vireoctl", "VireoStudio"
    std::string version;
    std::string port;
    std::string model; // the camera's, as it names itself
    std::string serial;
    std::string setting;        // the named setting, when one applies
    std::optional<int> address; // else the register
    std::optional<int> before;  // the value before the change, when it was read
    std::optional<int> after;   // the value read back afterwards
    std::string result;         // "ok", or the failure's text
    std::string file;           // a load: the settings file's path
    std::string fileSha256;     // and its hash as read
};

// $XDG_STATE_HOME/VireoStudio/audit.jsonl, else ~/.local/state/VireoStudio/audit.jsonl; empty
// when neither names a folder (HOME unset, relative or "/"), and nothing is chosen for the user.
std::string DefaultAuditPath();

// The trail every program of the suite writes to unless told otherwise: the stored setting
// "Settings\Audit\File", else DefaultAuditPath().
std::string ConfiguredAuditPath();

// Appends one line for change (time, user and host added here) under an exclusive lock, and
// has it on disk before returning. The file and its folder are made when missing. False with
// the reason in error ("cannot open /x/audit.jsonl: Permission denied").
bool AppendAudit(const std::string& path, const AuditChange& change, std::string& error);

// The changes of one action (a load's settings) as consecutive lines, under one lock and one sync.
bool AppendAudit(const std::string& path, const std::vector<AuditChange>& changes,
                 std::string& error);
// Where a trail's chain breaks: the line (from 1) and why.
struct AuditBreak {
    std::size_t line = 0;
    std::string reason;
};

// Checks every line's link to the one before it. Empty when the trail is whole; error is set
// when the file cannot be read (the result is then empty too).
std::optional<AuditBreak> VerifyAudit(const std::string& path, std::string& error);

// The lines of a trail, parsed; a line that is not a JSON object is skipped.
struct AuditEntry {
    std::string time, user, host, program, port, model, serial, what, before, after, result;
};
std::vector<AuditEntry> ReadAudit(const std::string& path, std::string& error);
