// The audit trail: one JSON line per change a program makes to a camera, appended to a file
// that several programs may share. Each line carries the SHA-256 of the line before it, so that
// an edited, removed or reordered line breaks the chain where it happened.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// One register an operation wrote: its value (or, for a text, the text) before and after.
struct RegisterChange {
    int address = 0;
    std::optional<int> before, after;
    std::optional<std::string> textBefore, textAfter;
    std::string result; // "ok", or the failure's text
};

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
    // Every register the operation wrote, when there is more to say than one register's
    // before and after.
    std::vector<RegisterChange> registers;
    // When the change was made; unset: when it is appended. A load's settings each keep their own.
    std::optional<std::chrono::system_clock::time_point> time;
};

// $XDG_STATE_HOME/VireoStudio/audit.jsonl, else ~/.local/state/VireoStudio/audit.jsonl; empty
// when neither names a folder (HOME unset, relative or "/"), and nothing is chosen for the user.
std::string DefaultAuditPath();

// The trail every program of the suite writes to unless told otherwise: the stored setting
// "Settings\Audit\File", else DefaultAuditPath().
std::string ConfiguredAuditPath();

// The site's settings (profile::SiteStoreFileName) say every change must be recorded:
// "Settings\Audit" "Required" = 1. Programs then refuse to run without the trail.
bool SiteRequiresAudit();

// Appends one line for change (time, user and host added here) under an exclusive lock, and
// has it on disk before returning. The file and its folder are made when missing. False with
// the reason in error ("cannot open /x/audit.jsonl: Permission denied"); the file is then left
// as it was found.
//
// A trail whose last line has no line end (a write cut short by a full disk or a crash, or a
// file cut by hand) never takes a record glued onto it: a last line that is whole only lacks
// its line end and gets it; anything else is cut off and kept, byte count, SHA-256 and text,
// in a repair line that links to the last whole line, so the chain stays verifiable.
bool AppendAudit(const std::string& path, const AuditChange& change, std::string& error);

// The changes of one action (a load's settings) as consecutive lines, under one lock and one sync.
bool AppendAudit(const std::string& path, const std::vector<AuditChange>& changes,
                 std::string& error);

// A line where the trail's chain breaks, or (repaired) a repair line an append left there.
struct AuditBreak {
    std::size_t line = 0; // from 1
    std::string reason;
    bool repaired = false;
};

// Checks every line's link to the one before it, a line at a time, and calls found for each
// break and each repair line, in order. False with error set when the file cannot be read (a
// folder, a read error), after what was found until then.
bool VerifyAudit(const std::string& path, const std::function<void(const AuditBreak&)>& found,
                 std::string& error);
// The first break; empty when the chain is whole or the file cannot be read (error set).
std::optional<AuditBreak> VerifyAudit(const std::string& path, std::string& error);

// One line of a trail, parsed. before and after are the values as written (decimal); a
// repair line has repair set and names no camera.
struct AuditEntry {
    std::string time, user, host, program, port, model, serial, what, before, after, result;
    // The registers an operation wrote, one "63: C -> 22" each (hexadecimal), joined by ", ".
    std::string registers;
    std::string setting;              // the named setting, when the line has one
    std::optional<long long> address; // the register, when the line names one
    std::optional<long long> beforeValue, afterValue;
    std::string repair; // "cut 57 bytes that had no line end"
    std::string cut;    // and the text that was cut
};

// Reads the trail a line at a time, holding one line at most: entry for each line of the trail,
// unreadable for each line that is none (damaged, cut short, not JSON), with its number from 1.
// False with error set when the file cannot be read.
bool ReadAuditLines(const std::string& path, const std::function<void(const AuditEntry&)>& entry,
                    const std::function<void(std::size_t line)>& unreadable, std::string& error);

// Every readable line of a trail; lines that are none are passed over.
std::vector<AuditEntry> ReadAudit(const std::string& path, std::string& error);
