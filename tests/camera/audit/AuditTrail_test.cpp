// The audit trail's SHA-256 against the standard's examples, a chain that names every line
// where it was edited, cut or reordered, appends that never glue a record onto a torn last line,
// and the ISO 8601 times the trail is searched by.
#include "camera/audit/AuditTrail.h"
#include "camera/audit/IsoTime.h"
#include "camera/audit/Sha256.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/resource.h>

using namespace testing_support;

TEST(Sha256, StandardExamples)
{
    const std::pair<std::string, const char*> cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
    };
    for (const auto& [text, digest] : cases)
        EXPECT_EQ(Sha256Hex(text), digest) << text.size();
    // Fed in pieces that cross the block boundaries, the same digest.
    CSha256 pieces;
    for (const char* part : {"abcdbcdecdefdefgefghfghighijhijk", "ijkljklmklmnlmnomnopnopq"})
        pieces.Add(part);
    EXPECT_EQ(pieces.HexDigest(), cases[2].second);
}

namespace {

std::vector<std::string> ReadLines(const std::string& path)
{
    std::ifstream in(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

void WriteLines(const std::string& path, const std::vector<std::string>& lines)
{
    std::ofstream out(path, std::ios::trunc);
    for (const std::string& line : lines)
        out << line << "\n";
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteAll(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

AuditChange Change(const std::string& setting, int before, int after)
{
    AuditChange change;
    change.program = "test";
    change.setting = setting;
    change.before = before;
    change.after = after;
    change.result = "ok";
    return change;
}

// Every break and repair VerifyAudit finds, by line.
std::vector<std::size_t> Breaks(const std::string& path, bool repairs = false)
{
    std::vector<std::size_t> lines;
    std::string error;
    EXPECT_TRUE(VerifyAudit(
        path,
        [&](const AuditBreak& found) {
            if (found.repaired == repairs)
                lines.push_back(found.line);
        },
        error))
        << error;
    return lines;
}

} // namespace

TEST(AuditTrail, TheChainNamesEveryLineThatNoLongerFollows)
{
    const std::string dir = MakeTempDir("vireo-audit");
    const std::string path = dir + "/sub/audit.jsonl"; // its folder is made on the way
    for (int i = 0; i < 4; ++i) {
        AuditChange change;
        change.program = "test";
        change.setting = "RGain";
        change.before = i;
        change.after = i + 1;
        change.result = "ok";
        std::string error;
        ASSERT_TRUE(AppendAudit(path, change, error)) << error;
    }
    const std::vector<std::string> whole = ReadLines(path);
    ASSERT_EQ(whole.size(), 4u);
    EXPECT_NE(whole[1].find("\"before\":1,\"after\":2"), std::string::npos) << whole[1];

    struct Case {
        const char* name;
        std::vector<std::string> lines;
        std::vector<std::size_t> broken; // empty: whole
    };
    std::string edited = whole[1];
    edited.replace(edited.find("\"after\":2"), 9, "\"after\":9");
    const Case cases[] = {
        {"as written", whole, {}},
        {"a value edited", {whole[0], edited, whole[2], whole[3]}, {3}},
        {"a line removed", {whole[0], whole[2], whole[3]}, {2}},
        {"two lines swapped", {whole[0], whole[2], whole[1], whole[3]}, {2, 3, 4}},
        {"the first line removed", {whole[1], whole[2], whole[3]}, {1}},
        {"a line that is no JSON", {whole[0], "garbage", whole[2]}, {2, 3}},
        {"two breaks far apart", {whole[1], whole[2], whole[3], whole[3]}, {1, 4}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteLines(path, c.lines);
        EXPECT_EQ(Breaks(path), c.broken);
        std::string error;
        const auto first = VerifyAudit(path, error);
        EXPECT_EQ(first ? first->line : 0u, c.broken.empty() ? 0u : c.broken.front());
    }
    // A folder is no trail: an error, never "whole".
    std::string error;
    EXPECT_FALSE(VerifyAudit(
        dir, [](const AuditBreak&) {}, error));
    EXPECT_NE(error.find("Is a directory"), std::string::npos) << error;
    RemoveTree(dir);
}

// Each row damages a trail of three lines as a full disk, a crash or a hand would, then two
// changes are appended: neither may be glued onto the damage, and verify and read say what
// happened.
TEST(AuditTrail, AnAppendNeverGluesItsRecordOntoATornLastLine)
{
    const std::string dir = MakeTempDir("vireo-audit-torn");
    const std::string path = dir + "/audit.jsonl";
    struct Case {
        const char* name;
        std::function<std::string(const std::string&)> damage; // the file's text, damaged
        std::vector<std::size_t> broken, repaired;             // lines verify names afterwards
        std::vector<std::size_t> unreadable;                   // lines a read passes over
        std::size_t entries;                                   // lines a read gives
    };
    const auto cutBy = [](std::size_t bytes) {
        return [bytes](const std::string& text) { return text.substr(0, text.size() - bytes); };
    };
    const Case cases[] = {
        {"a write cut short (full disk)",
         [](const std::string& text) { return text + text.substr(0, 50); },
         {},
         {4},
         {},
         6},
        {"the file cut by 40 bytes", cutBy(40), {}, {3}, {}, 5},
        {"only the last line end lost", cutBy(1), {}, {}, {}, 5},
        {"a NUL in a middle line",
         [](std::string text) {
             text[text.find('\n') + 20] = '\0';
             return text;
         },
         {2, 3},
         {},
         {2},
         4},
        {"a NUL in a torn last line",
         [](const std::string& text) { return text + std::string("{\"time\":\0", 9); },
         {},
         {4},
         {},
         6},
        {"more than 64 KiB without a line end",
         [](const std::string& text) { return text + std::string(70000, 'x'); },
         {4, 5},
         {},
         {4},
         5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(path);
        std::string error;
        for (int i = 0; i < 3; ++i)
            ASSERT_TRUE(AppendAudit(path, Change("before", i, i + 1), error)) << error;
        WriteAll(path, c.damage(ReadAll(path)));
        ASSERT_TRUE(AppendAudit(path, Change("first", 1, 2), error)) << error;
        ASSERT_TRUE(AppendAudit(path, Change("second", 3, 4), error)) << error;

        EXPECT_EQ(Breaks(path), c.broken);
        EXPECT_EQ(Breaks(path, true), c.repaired);
        std::vector<std::size_t> unreadable;
        std::vector<AuditEntry> entries;
        EXPECT_TRUE(ReadAuditLines(
            path, [&](const AuditEntry& entry) { entries.push_back(entry); },
            [&](std::size_t line) { unreadable.push_back(line); }, error))
            << error;
        EXPECT_EQ(unreadable, c.unreadable);
        ASSERT_EQ(entries.size(), c.entries);
        // Both records are whole lines of their own, the last two of the trail.
        EXPECT_EQ(entries[entries.size() - 2].setting, "first");
        EXPECT_EQ(entries.back().setting, "second");
        EXPECT_EQ(entries.back().afterValue, 4);
        if (!c.repaired.empty()) {
            const AuditEntry& repair = entries[c.repaired.front() - 1];
            EXPECT_EQ(repair.repair.rfind("cut ", 0), 0u) << repair.repair;
            EXPECT_NE(repair.cut, "");
        }
    }
    RemoveTree(dir);
}

// A batch the disk does not take whole is taken back: no half line is left to tear the trail.
TEST(AuditTrail, AFailedAppendLeavesTheTrailAsItWas)
{
    const std::string dir = MakeTempDir("vireo-audit-full");
    const std::string path = dir + "/audit.jsonl";
    std::string error;
    ASSERT_TRUE(AppendAudit(path, Change("kept", 0, 1), error)) << error;
    const std::string before = ReadAll(path);
    // The file size limit stands in for a full disk: writes past it fail part of the way.
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = before.size() + 300;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool appended =
        AppendAudit(path, std::vector<AuditChange>(4, Change("lost", 1, 2)), error);
    ::setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(appended);
    EXPECT_NE(error.find("cannot write"), std::string::npos) << error;
    EXPECT_EQ(ReadAll(path), before);
    ASSERT_TRUE(AppendAudit(path, Change("next", 1, 2), error)) << error;
    EXPECT_EQ(Breaks(path), std::vector<std::size_t>{});
    RemoveTree(dir);
}

TEST(IsoTime, DatesAndTimesWithOrWithoutAnOffset)
{
    // Local time one hour east of UTC, without needing the zone database.
    const std::string savedZone = std::getenv("TZ") ? std::getenv("TZ") : "";
    ::setenv("TZ", "CET-1", 1);
    ::tzset();
    const std::int64_t day = 1796688000000; // 2026-12-08T00:00:00Z
    const std::int64_t hour = 3600000;
    const std::pair<const char*, std::optional<std::int64_t>> cases[] = {
        {"2026-12-08T10:00:00+01:00", day + 9 * hour},
        {"2026-12-08T10:00:00-0230", day + 12 * hour + 30 * 60000},
        {"2026-12-08T10:00:00.250Z", day + 10 * hour + 250},
        {"2026-12-08T10:00Z", day + 10 * hour},
        {"2026-12-08T10:00", day + 9 * hour}, // local
        {"2026-12-08", day - hour},           // local midnight
        {"2026-12", day - 7 * 24 * hour - hour},
        {"2024-02-29T00:00Z", 1709164800000},
        {"yesterday", std::nullopt},
        {"2026-13-45", std::nullopt},
        {"2026-02-29", std::nullopt},
        {"2026-12-08T24:00Z", std::nullopt},
        {"2026-12-08T10:60Z", std::nullopt},
        {"2026-12-08T10:00+01:", std::nullopt},
        {"2026-12-08X", std::nullopt},
        {"20261208", std::nullopt},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseIsoTime(text), expected) << text;
    if (savedZone.empty())
        ::unsetenv("TZ");
    else
        ::setenv("TZ", savedZone.c_str(), 1);
    ::tzset();
}
