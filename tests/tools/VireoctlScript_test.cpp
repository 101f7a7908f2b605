// vireoctl's script command, the messages of a bad command line, the time-out range, and a
// vireoctl ended by a signal.
#include "platform/profile/Profile.h"
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <thread>

using namespace testing_support;

namespace {

class VireoctlScript : public ::testing::Test {
protected:
    void SetUp() override { dir = MakeTempDir("vireoctl-script"); }
    void TearDown() override { RemoveTree(dir); }

    void Start(std::vector<std::string> options = {})
    {
        camsim = std::make_unique<CamsimProgram>(CAMSIM_PATH, options);
        port = camsim->device;
        ASSERT_FALSE(port.empty());
    }

    ProcessResult Run(std::vector<std::string> args)
    {
        std::vector<std::string> argv{VIREOCTL_PATH, "--port", port};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProcess(argv, {"XDG_CONFIG_HOME=" + config.Path()});
    }

    std::string Write(const std::string& text)
    {
        const std::string path = dir + "/script.txt";
        std::ofstream(path) << text;
        return path;
    }

    ScopedSettingsDir config;
    std::string dir;
    std::unique_ptr<CamsimProgram> camsim;
    std::string port;
};

long Count(const std::string& text, const std::string& part)
{
    long count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace

TEST_F(VireoctlScript, RunsLineByLineOnOnePortAndStopsAtTheFirstFailure)
{
    Start();
    struct Case {
        std::string script;
        bool keepGoing;
        int exitStatus;
        std::string out;
        std::string errLine; // the first line of standard error
        long sends;          // requests on the wire
    };
    const std::vector<Case> cases{
        {"# set up\n\nwrite 150 a5\nread 150\n  sleep 1\ncall RV1240DLX GetModelName\n", false, 0,
         "A5\nRV1240DLX\n", "", 12}, // the model name is ten registers
        {"read 20\nread 301\nread 20\n", false, 1, "34\n", "line 2: error 1: [NAK] Recieved", 2},
        {"read 301\nread 20\nwrite 10 0\nread 20\n", true, 1, "34\n34\n",
         "line 1: error 1: [NAK] Recieved", 4},
        {"read 20\nwrite 10 1FF\n", false, 2, "", "script: line 2: write: value 1FF is above FF",
         0},
        {"read 20\n\nfrobnicate\n", false, 2, "",
         "script: line 3: frobnicate: not a script command (read, write, call, identify, sleep)",
         0},
        {"read 20\n" + std::string(5000, '1') + "\n", false, 2, "",
         "script: line 2: longer than 4096 characters", 0},
        {"call RV1240DLX NoSuchOperation\n", false, 2, "",
         "script: line 1: call: RV1240DLX has no operation NoSuchOperation", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        std::vector<std::string> args{"--log", "script"};
        if (c.keepGoing)
            args.push_back("--keep-going");
        args.push_back(Write(c.script));
        const auto run = Run(args);
        EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
        EXPECT_EQ(run.out, c.out);
        std::vector<std::string> errors;
        for (const std::string& line : Lines(run.err))
            if (line.rfind("STAT:", 0) != 0 && line.rfind("SEND:", 0) != 0 &&
                line.rfind("RCV", 0) != 0 && line.rfind("\t", 0) != 0)
                errors.push_back(line);
        EXPECT_EQ(errors.empty() ? std::string() : errors.front(), c.errLine) << run.err;
        EXPECT_EQ(Count(run.err, "SEND:"), c.sends) << run.err;
        // One port for the whole script: opened once at most.
        EXPECT_LE(Count(run.err, "Port open Success"), 1) << run.err;
    }
}

TEST_F(VireoctlScript, EveryBadCommandLineNamesItsFaultFirst)
{
    Start({"--model", "RVQM52CM14"});
    struct Case {
        std::vector<std::string> args;
        std::string firstLine;
    };
    const std::vector<Case> cases{
        {{"--baud", "12345", "read", "20"},
         "--baud 12345: not one of 4800, 9600, 19200, 38400, 57600, 115200, 230400"},
        {{"--timeout", "0", "read", "20"}, "--timeout 0: not a time-out of 1..60000 ms"},
        {{"--timeout", "60001", "read", "20"}, "--timeout 60001: not a time-out of 1..60000 ms"},
        {{"--timeout", "abc", "read", "20"}, "--timeout abc: not a time-out of 1..60000 ms"},
        {{"--timeout", "-5", "read", "20"}, "--timeout -5: not a time-out of 1..60000 ms"},
        {{"--port", "tcp://x:1", "read", "20"},
         "--port tcp://x:1: unknown kind of port \"tcp://\" (rfc2217:// and socket:// are known)"},
        {{"--port", "rfc2217://host", "read", "20"}, "--port rfc2217://host: no port (HOST:PORT)"},
        {{"write", "10", "1FF"}, "write: value 1FF is above FF"},
        {{"read", "XYZ"}, "read: address XYZ is not a hexadecimal number"},
        {{"call", "RVQM52CM14", "NoSuchOperation"},
         "call: RVQM52CM14 has no operation NoSuchOperation"},
        {{"call", "RVQM52CM14", "SetRGain", "99999"},
         "call SetRGain: 99999 is outside 0..65535 (the setting page's range is 0..1535)"},
        {{"call", "RVQM52CM14", "SetRGain"}, "call SetRGain: takes 1 argument, not 0"},
        {{"call", "auto", "SetRGain", "ten"}, "call SetRGain: \"ten\" is not a number"},
        {{"save", "RV9999", "x.json"}, "save: unknown model RV9999"},
        {{"frobnicate"}, "frobnicate: unknown command"},
    };
    for (const Case& c : cases) {
        const auto run = Run(c.args);
        SCOPED_TRACE(c.firstLine);
        EXPECT_EQ(run.exitStatus, 2);
        const auto lines = Lines(run.err);
        ASSERT_GE(lines.size(), 2u) << run.err;
        EXPECT_EQ(lines[0], c.firstLine);
        EXPECT_EQ(lines[1].rfind("usage: vireoctl ", 0), 0u) << run.err;
    }
    // The ends of the time-out range are taken.
    for (const char* timeout : {"1", "60000"}) {
        const auto run = Run({"--timeout", timeout, "read", "20"});
        EXPECT_NE(run.exitStatus, 2) << timeout << run.err;
    }
    // A relative path is used as it is: no "/dev/" in front.
    const auto relative = RunProcess({VIREOCTL_PATH, "--port", "./vireo-missing", "read", "20"},
                                     {"XDG_CONFIG_HOME=" + config.Path()});
    EXPECT_EQ(relative.err, "error: cannot open port ./vireo-missing: no such device\n");
}

TEST_F(VireoctlScript, AStoredTimeoutOutsideTheRangeIsUsedAsTheDefault)
{
    Start();
    struct Case {
        int stored;
        bool replaced;
    };
    for (const Case& c : {Case{0, true}, Case{-5, true}, Case{60001, true}, Case{2000, false},
                          Case{60000, false}}) {
        profile::WriteProfileInt("Settings\\COMM Port", "HsTimeOut", c.stored);
        const auto run = Run({"--log", "read", "20"});
        SCOPED_TRACE(c.stored);
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        EXPECT_EQ(run.out, "34\n");
        EXPECT_EQ(Count(run.err, "STAT: Stored HsTimeOut \"" + std::to_string(c.stored) +
                                     "\" is not from 1 to 60000 ms: 3000 ms used"),
                  c.replaced ? 1 : 0)
            << run.err;
        EXPECT_EQ(Count(run.err, "Stored HsTimeOut"), c.replaced ? 1 : 0);
    }
    // An option given for the run is used as it is, and nothing is stored.
    profile::WriteProfileInt("Settings\\COMM Port", "HsTimeOut", 0);
    const auto run = Run({"--log", "--timeout", "500", "read", "20"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(profile::GetProfileInt("Settings\\COMM Port", "HsTimeOut", -1), 0);
}

TEST_F(VireoctlScript, EndedBySigtermItLeavesThePortUsable)
{
    Start({"--delay", "1500"});
    // The shell says it has started, then becomes vireoctl (same process), which waits on the
    // slow reply.
    BackgroundProcess slow({"/bin/sh", "-c",
                            "echo started; exec env XDG_CONFIG_HOME='" + config.Path() + "' " +
                                VIREOCTL_PATH + " --port " + port + " --timeout 10000 read 10"});
    ASSERT_EQ(slow.FirstLine(), "started");
    // Long enough to be inside the wait for the delayed reply.
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_NE(slow.Stop(), 0) << "ended by the signal, not by a reply";

    const auto second = Run({"--timeout", "10000", "read", "10"});
    EXPECT_EQ(second.exitStatus, 0) << second.err;
    EXPECT_EQ(second.out, "52\n");
}
