// vireoctl's audit trail: every way it changes a camera leaves a line with the values before
// and after; two programs at once leave whole, chained lines; a trail that cannot be written
// does not stop the change but is told of; a torn trail takes the next record whole; show
// prints registers in hex and a camera's control characters escaped.
#include "camera/audit/Sha256.h"
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <future>
#include <nlohmann/json.hpp>
#include <sstream>

using namespace testing_support;
using Json = nlohmann::json;

namespace {

class VireoctlAudit : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = MakeTempDir("vireoctl-audit");
        trail = dir + "/audit.jsonl";
    }
    void TearDown() override { RemoveTree(dir); }

    std::string Start(std::vector<std::string> options = {})
    {
        options.insert(options.begin(), {"--model", "RVQM52CM14"});
        cameras.push_back(std::make_unique<CamsimProgram>(CAMSIM_PATH, options));
        return cameras.back()->device;
    }

    ProcessResult Run(const std::string& port, std::vector<std::string> args,
                      const std::string& audit = {})
    {
        std::vector<std::string> argv{VIREOCTL_PATH, "--port", port, "--audit",
                                      audit.empty() ? trail : audit};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProcess(argv, {"XDG_CONFIG_HOME=" + config.Path()});
    }

    std::vector<Json> Trail() const
    {
        std::ifstream in(trail);
        std::vector<Json> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(Json::parse(line));
        return lines;
    }

    ScopedSettingsDir config;
    std::string dir;
    std::string trail;
    std::vector<std::unique_ptr<CamsimProgram>> cameras;
};

} // namespace

TEST_F(VireoctlAudit, EveryChangeIsRecordedWithItsValuesBeforeAndAfter)
{
    // At 9600 baud a load takes long enough that its settings' times differ.
    const std::string port = Start({"--baud", "9600"});
    const std::string file = dir + "/cam.json";
    ASSERT_EQ(Run(port, {"save", "auto", file}).exitStatus, 0);
    std::ifstream in(file);
    const std::string fileHash = Sha256Hex(std::string((std::istreambuf_iterator<char>(in)), {}));
    const std::string script = dir + "/s.txt";
    std::ofstream(script) << "read 20\nwrite 150 5a\n";

    struct Case {
        std::vector<std::string> args;
        std::size_t lines; // added
        const char* what;  // "setting" or "register" of the first added line
        Json name;
        Json before;
        Json after;
    };
    const Case cases[] = {
        {{"write", "150", "a5"}, 1, "register", 0x150, 0x00, 0xA5},
        {{"script", script}, 1, "register", 0x150, 0xA5, 0x5A},
        {{"call", "RVQM52CM14", "SetRGain", "100"}, 1, "setting", "RGain", 512, 100},
        {{"call", "auto", "GetRGain"}, 0, "", nullptr, nullptr, nullptr},
        {{"load", file}, 18, "setting", "OutLevelOffset", 16, 16},
    };
    std::size_t total = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        const auto run = Run(port, c.args);
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        const std::vector<Json> lines = Trail();
        ASSERT_EQ(lines.size(), total + c.lines);
        if (c.lines > 0) {
            const Json& line = lines[total];
            EXPECT_EQ(line[c.what], c.name) << line;
            EXPECT_EQ(line["before"], c.before) << line;
            EXPECT_EQ(line["after"], c.after) << line;
            EXPECT_EQ(line["result"], "ok");
            EXPECT_EQ(line["model"], "RVQM52CM14");
            EXPECT_EQ(line["serial"], "5220041");
            EXPECT_EQ(line["port"], port);
            EXPECT_EQ(line["program"], "vireoctl");
            EXPECT_EQ(line.contains("file_sha256"), c.args[0] == "load");
            if (c.args[0] == "load") {
                EXPECT_EQ(line["file_sha256"], fileHash);
                // Each setting carries the time of its own write.
                EXPECT_LT(line["time"].get<std::string>(), lines.back()["time"].get<std::string>());
                // The R gain the call above changed is put back by the load.
                for (const Json& other : lines) {
                    if (other.value("setting", "") == "RGain" && other.contains("file")) {
                        EXPECT_EQ(other["before"], 100);
                    }
                }
            }
        }
        total = lines.size();
    }
    const auto all = RunProcess({VIREOCTL_PATH, "audit", "show", trail});
    ASSERT_FALSE(all.out.empty());
    EXPECT_NE(Lines(all.out)[0].find("register 150: 0 -> A5  ok"), std::string::npos) << all.out;
    const auto verify = RunProcess({VIREOCTL_PATH, "audit", "verify", trail});
    EXPECT_EQ(verify.exitStatus, 0) << verify.out;
    EXPECT_EQ(verify.out, trail + ": whole\n");
    // Shown readably, a line a change, picked by camera, serial number or time.
    const std::string inventory = dir + "/cameras.toml";
    std::ofstream(inventory) << "[cameras.cam]\nport = \"" + port + "\"\nserial = \"5220041\"\n"
                             << "[cameras.other]\nport = \"cl:3\"\n";
    const std::pair<std::vector<std::string>, std::size_t> shows[] = {
        {{"--serial", "5220041"}, total}, {{"--serial", "5220077"}, 0},
        {{"--camera", "cam"}, total},     {{"--camera", "other"}, 0},
        {{"--since", "2000"}, total},     {{"--since", "2999-12-31T23:00:00-01:00"}, 0},
    };
    for (const auto& [filter, lines] : shows) {
        SCOPED_TRACE(filter[0] + " " + filter[1]);
        std::vector<std::string> argv{VIREOCTL_PATH, "--inventory", inventory, "audit", "show"};
        argv.insert(argv.end(), filter.begin(), filter.end());
        argv.push_back(trail);
        const auto show = RunProcess(argv);
        EXPECT_EQ(show.exitStatus, 0) << show.err;
        EXPECT_EQ(Lines(show.out).size(), lines) << show.out;
    }
}

TEST_F(VireoctlAudit, TwoProgramsAtOnceLeaveWholeChainedLines)
{
    const std::string a = Start();
    const std::string b = Start();
    const std::string script = dir + "/s.txt";
    {
        std::ofstream out(script);
        for (int i = 0; i < 15; ++i)
            out << "write 150 " << std::hex << i << "\n";
    }
    auto first = std::async(std::launch::async, [&] { return Run(a, {"script", script}); });
    const auto second = Run(b, {"script", script});
    EXPECT_EQ(first.get().exitStatus, 0);
    EXPECT_EQ(second.exitStatus, 0);
    EXPECT_EQ(Trail().size(), 30u);
    EXPECT_EQ(RunProcess({VIREOCTL_PATH, "audit", "verify", trail}).exitStatus, 0);
}

TEST_F(VireoctlAudit, AnUnwritableTrailStillChangesTheCameraAndSaysSo)
{
    const std::string port = Start();
    const std::string notAFolder = dir + "/file";
    std::ofstream(notAFolder) << "x";
    const auto write = Run(port, {"write", "150", "3c"}, notAFolder + "/audit.jsonl");
    EXPECT_EQ(write.exitStatus, 4);
    EXPECT_EQ(Lines(write.err).size(), 1u) << write.err;
    EXPECT_EQ(write.err.rfind(
                  "warning: the change is made but not recorded: cannot open " + notAFolder, 0),
              0u)
        << write.err;
    EXPECT_EQ(Run(port, {"read", "150"}).out, "3C\n");
}

// --no-audit records nothing, unless the site's settings require every change on record.
TEST_F(VireoctlAudit, NoAuditIsRefusedWhereTheSiteRequiresTheTrail)
{
    const std::string port = Start();
    const std::string site = dir + "/site";
    std::filesystem::create_directories(site + "/KORVALIS CORPORATION");
    for (const bool required : {false, true}) {
        SCOPED_TRACE(required);
        std::ofstream(site + "/KORVALIS CORPORATION/VireoStudio.conf")
            << "[Settings]\nAudit\\Required=" << (required ? 1 : 0) << "\n";
        const auto write = RunProcess(
            {VIREOCTL_PATH, "--port", port, "--no-audit", "write", "150", required ? "7" : "6"},
            {"XDG_CONFIG_HOME=" + config.Path(), "XDG_CONFIG_DIRS=" + site,
             "XDG_STATE_HOME=" + dir});
        EXPECT_EQ(write.exitStatus, required ? 2 : 0) << write.err;
        EXPECT_EQ(write.err.find("require every change to be recorded") != std::string::npos,
                  required)
            << write.err;
        EXPECT_EQ(Run(port, {"read", "150"}).out, "06\n");
        EXPECT_FALSE(std::filesystem::exists(dir + "/VireoStudio/audit.jsonl"));
    }
}

TEST_F(VireoctlAudit, SinceTakesIsoDatesAndTimesAndRefusesTheRest)
{
    std::ofstream(trail) << "{\"time\":\"2026-12-08T08:59:59.999Z\",\"prev\":\"\"}\n"
                         << "{\"time\":\"2026-12-08T09:00:00.000Z\",\"prev\":\"\"}\n"
                         << "{\"time\":\"2026-12-09T00:00:00.000Z\",\"prev\":\"\"}\n";
    const std::tuple<const char*, int, std::size_t> cases[] = {
        {"2026-12-08T10:00:00+01:00", 0, 2},
        {"2026-12-08T09:00:00.001Z", 0, 1},
        {"2026-12-08T10:00", 0, 2}, // local time, one hour east
        {"2026-12-09", 0, 1},       // local midnight: 2026-12-08T23:00Z
        {"yesterday", 2, 0},
        {"2026-13-45", 2, 0},
    };
    for (const auto& [since, status, lines] : cases) {
        SCOPED_TRACE(since);
        const auto show =
            RunProcess({VIREOCTL_PATH, "audit", "show", "--since", since, trail}, {"TZ=CET-1"});
        EXPECT_EQ(show.exitStatus, status);
        EXPECT_EQ(Lines(show.out).size(), lines) << show.out;
        if (status == 2) {
            EXPECT_EQ(show.err.rfind(std::string("audit show: --since ") + since +
                                         ": not an ISO 8601 date or time",
                                     0),
                      0u)
                << show.err;
        }
    }
}

TEST_F(VireoctlAudit, ACameraTextCannotSteerTheTerminal)
{
    const std::string port = Start();
    const std::string steering = "\x1b[A\x1b[2K";
    ASSERT_EQ(Run(port, {"call", "RVQM52CM14", "SetSerialNo", steering}).exitStatus, 0);
    ASSERT_EQ(Run(port, {"write", "151", "12"}).exitStatus, 0);
    const std::string inventory = dir + "/cameras.toml";
    std::ofstream(inventory) << "[cameras.cam]\nport = \"" + port + "\"\n";
    const std::vector<std::string> commands[] = {
        {VIREOCTL_PATH, "--port", port, "identify"},
        {VIREOCTL_PATH, "--inventory", inventory, "cameras"},
        {VIREOCTL_PATH, "audit", "show", "--since", "2026", trail},
    };
    for (const auto& argv : commands) {
        SCOPED_TRACE(argv[argv.size() - 2]);
        const auto run = RunProcess(argv, {"XDG_CONFIG_HOME=" + config.Path()});
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_NE(run.out.find("\\x1B[A\\x1B[2K"), std::string::npos) << run.out;
        EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
    }
}

// Damage as a full disk, `truncate -s -40` or a NUL byte leaves it, then a write: the write
// exits 0 with its record whole, show gives it, and verify names exactly the damage.
TEST_F(VireoctlAudit, ATornTrailTakesTheNextRecordWhole)
{
    const std::string port = Start();
    struct Case {
        const char* name;
        std::function<void(std::string&)> damage;
        int verifyStatus;
        const char* verifySays;
        std::size_t warnings; // of show
    };
    const Case cases[] = {
        {"a partial line", [](std::string& text) { text += text.substr(0, 60); }, 0,
         ":3: repaired: an append cut off 60 bytes", 0},
        {"cut by 40 bytes", [](std::string& text) { text.resize(text.size() - 40); }, 0,
         ":2: repaired: an append cut off ", 0},
        {"a NUL in a line", [](std::string& text) { text[30] = '\0'; }, 1,
         ":1: the chain breaks: not a line of the trail: it holds a NUL byte", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(trail.c_str());
        ASSERT_EQ(Run(port, {"write", "150", "1"}).exitStatus, 0);
        ASSERT_EQ(Run(port, {"write", "150", "2"}).exitStatus, 0);
        std::ifstream in(trail, std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), {});
        c.damage(text);
        std::ofstream(trail, std::ios::binary | std::ios::trunc) << text;
        const auto write = Run(port, {"write", "150", "3"});
        EXPECT_EQ(write.exitStatus, 0) << write.err;
        const auto verify = RunProcess({VIREOCTL_PATH, "audit", "verify", trail});
        EXPECT_EQ(verify.exitStatus, c.verifyStatus);
        EXPECT_NE(verify.out.find(trail + c.verifySays), std::string::npos) << verify.out;
        const auto show = RunProcess({VIREOCTL_PATH, "audit", "show", trail});
        EXPECT_EQ(show.exitStatus, c.warnings > 0 ? 1 : 0);
        EXPECT_EQ(Lines(show.err).size(), c.warnings) << show.err;
        ASSERT_FALSE(show.out.empty());
        EXPECT_NE(Lines(show.out).back().find("register 150: 2 -> 3  ok"), std::string::npos)
            << show.out;
    }
    const auto folder = RunProcess({VIREOCTL_PATH, "audit", "verify", dir});
    EXPECT_EQ(folder.exitStatus, 1);
    EXPECT_EQ(folder.out, "");
    EXPECT_NE(folder.err.find("Is a directory"), std::string::npos) << folder.err;
}
