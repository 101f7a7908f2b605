// The audit trail's SHA-256 against the standard's examples, and a chain that names the first
// line where it was edited, cut or reordered.
#include "camera/audit/AuditTrail.h"
#include "camera/audit/Sha256.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

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

} // namespace

TEST(AuditTrail, TheChainNamesTheFirstLineThatNoLongerFollows)
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
        std::size_t brokenAt; // 0: whole
    };
    std::string edited = whole[1];
    edited.replace(edited.find("\"after\":2"), 9, "\"after\":9");
    const Case cases[] = {
        {"as written", whole, 0},
        {"a value edited", {whole[0], edited, whole[2], whole[3]}, 3},
        {"a line removed", {whole[0], whole[2], whole[3]}, 2},
        {"two lines swapped", {whole[0], whole[2], whole[1], whole[3]}, 2},
        {"the first line removed", {whole[1], whole[2], whole[3]}, 1},
        {"a line that is no JSON", {whole[0], "garbage", whole[2]}, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteLines(path, c.lines);
        std::string error;
        const auto broken = VerifyAudit(path, error);
        EXPECT_EQ(error, "");
        EXPECT_EQ(broken ? broken->line : 0u, c.brokenAt);
    }
    RemoveTree(dir);
}
