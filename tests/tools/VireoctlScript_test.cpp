// vireoctl's script command, the messages of a bad command line, the time-out range, and a
// vireoctl ended by a signal.
#include "platform/profile/Profile.h"
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <chrono>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

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
         "A5\nRV1240DLX\n", "",
         // The model name is ten registers, the serial number seven; a write is recorded with
         // both, read once, and with the register's value before and after.
         31},
        {"read 20\nread 301\nread 20\n", false, 1, "34\n",
         "line 2: error 1: the camera refused the request", 2},
        {"read 301\nread 20\nwrite 10 0\nread 20\n", true, 1, "34\n34\n",
         "line 1: error 1: the camera refused the request",
         // The camera is identified before the write (model name ten registers, serial number
         // seven), so its record names the camera as it was; then before, write and after.
         23},
        {"read 20\nwrite 10 1FF\n", false, 2, "", "script: line 2: write: value 1FF is above FF",
         0},
        {"read 20\n\nfrobnicate\n", false, 2, "",
         "script: line 3: frobnicate: not a script command (read, write, call, identify, sleep)",
         0},
        {"read 20\n" + std::string(5000, '1') + "\n", false, 2, "",
         "script: line 2: longer than 4096 characters", 0},
        {"call RV1240DLX NoSuchOperation\n", false, 2, "",
         "script: line 1: call: RV1240DLX has no operation NoSuchOperation", 0},
        // A NUL would cut "a\0" 5" to "a"; any control character but the tab is malformed.
        {std::string("write 150 a\0"
                     "5\n",
                     14),
         false, 2, "", "script: line 1: control character 00 in the line", 0},
        {"read 20\nread\x01 20\n", false, 2, "", "script: line 2: control character 01 in the line",
         0},
        {"read 20\r\nread\t21\r\n", false, 0, "34\n30\n", "", 2},
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
        // An empty name must not fall back on the stored port.
        {{"--camera", "", "read", "20"}, "--camera: no name"},
        {{"--inventory", "", "read", "20"}, "--inventory: no file"},
        {{"--audit", "", "read", "20"}, "--audit: no file"},
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

TEST_F(VireoctlScript, KeepGoingSendsEveryLineAfterATimeOut)
{
    Start({"--fault", "silent"});
    const std::string script = Write("read 20\nread 21\nread 22\n");
    struct Case {
        bool keepGoing;
        long sends;
    };
    for (const Case& c : {Case{true, 3}, Case{false, 1}}) {
        SCOPED_TRACE(c.keepGoing);
        std::vector<std::string> args{"--log", "--timeout", "100", "script"};
        if (c.keepGoing)
            args.push_back("--keep-going");
        args.push_back(script);
        const auto run = Run(args);
        EXPECT_EQ(run.exitStatus, 1) << run.err;
        EXPECT_EQ(Count(run.err, "SEND:"), c.sends) << run.err;
        for (long line = 1; line <= 3; ++line)
            EXPECT_EQ(Count(run.err, "line " + std::to_string(line) + ": error 256: "),
                      line <= c.sends ? 1 : 0)
                << run.err;
    }
}

TEST_F(VireoctlScript, AnOutputThatCannotBeWrittenIsAnError)
{
    Start();
    const std::string script = Write("read 20\nidentify\n");
    const std::string vireoctl = std::string(VIREOCTL_PATH) + " --port " + port;
    const std::string noSpace = "No space left on device";
    struct Case {
        std::string command; // after "vireoctl --port PORT", with its redirections
        int exitStatus;
        std::string out;
        std::string err; // a part of standard error
    };
    const std::vector<Case> cases{
        {"read 20 >/dev/full", 1, "", "error: cannot write standard output: " + noSpace},
        {"identify >/dev/full", 1, "", "error: cannot write standard output: " + noSpace},
        {"script " + script + " >/dev/full", 1, "",
         "error: cannot write standard output: " + noSpace},
        // Closed, standard output must not become the port (the value would go to the camera).
        {"read 20 >&-", 1, "", "error: cannot write standard output: it is closed"},
        {"write 150 5 >&-", 0, "", ""},
        {"--timeout 100 read 301 2>/dev/full", 1,
         "error: cannot write standard error: " + noSpace + "\n", ""},
        {"--log read 20 2>/dev/full", 1,
         "34\nerror: cannot write standard error: " + noSpace + "\n", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const auto run = RunProcess({"/bin/sh", "-c", vireoctl + " " + c.command},
                                    {"XDG_CONFIG_HOME=" + config.Path()});
        EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
        EXPECT_EQ(run.out, c.out);
        if (c.err.empty())
            EXPECT_EQ(run.err, "");
        else
            EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    }
    // The camera's line carried only requests: it still answers in step.
    const auto after = Run({"read", "20"});
    EXPECT_EQ(after.exitStatus, 0) << after.err;
    EXPECT_EQ(after.out, "34\n");
}

TEST_F(VireoctlScript, OutputsAndErrorLinesInOneFileKeepTheOrderOfTheLines)
{
    Start();
    struct Case {
        std::string options;
        std::string script;
        std::vector<std::string>
            lines; // the beginnings of the file's lines, status records left out
    };
    const std::vector<Case> cases{
        {"script --keep-going",
         "read 20\nread 301\nread 21\nread 301\n",
         {"34", "line 2: error 1: ", "30", "line 4: error 1: "}},
        {"--log script",
         "read 20\nread 21\n",
         {"SEND: [STX]20RQ", "RCV : [STX]34", "34", "SEND: [STX]21RQ", "RCV : [STX]30", "30"}},
    };
    const std::string file = dir + "/both.txt";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.script);
        const auto run = RunProcess({"/bin/sh", "-c",
                                     std::string(VIREOCTL_PATH) + " --port " + port + " " +
                                         c.options + " " + Write(c.script) + " >" + file + " 2>&1"},
                                    {"XDG_CONFIG_HOME=" + config.Path()});
        EXPECT_EQ(run.exitStatus, c.lines.size() == 4 ? 1 : 0) << run.err;
        std::ifstream in(file);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            if (line.rfind("STAT:", 0) != 0)
                lines.push_back(line);
        ASSERT_EQ(lines.size(), c.lines.size()) << testing::PrintToString(lines);
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(lines[i].rfind(c.lines[i], 0), 0u) << lines[i];
    }
}

namespace {

// Whether the terminal is held for exclusive use (root may open it and ask; others are refused).
bool HeldExclusively(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == EBUSY;
    int held = 0;
    ::ioctl(fd, TIOCGEXCL, &held);
    ::close(fd);
    return held != 0;
}

} // namespace

TEST_F(VireoctlScript, APortLeftHeldByAKilledProgramOpensAgain)
{
    Start();
    const std::string script = Write("sleep 20000\n");
    for (const int signal : {SIGKILL, SIGUSR1, SIGALRM, SIGQUIT}) {
        SCOPED_TRACE(strsignal(signal));
        // After SIGKILL only a process that may open an exclusive terminal gets past the flag.
        if (signal == SIGKILL && ::geteuid() != 0)
            continue;
        BackgroundProcess holder({"/bin/sh", "-c",
                                  "echo started; exec env XDG_CONFIG_HOME='" + config.Path() +
                                      "' " + VIREOCTL_PATH + " --port " + port + " script " +
                                      script});
        ASSERT_EQ(holder.FirstLine(), "started");
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!HeldExclusively(port) && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        ASSERT_TRUE(HeldExclusively(port)) << "the script holds the port while it sleeps";
        EXPECT_EQ(holder.Stop(signal), -1) << "ended by the signal";

        const auto next = Run({"read", "20"});
        EXPECT_EQ(next.exitStatus, 0) << next.err;
        EXPECT_EQ(next.out, "34\n");
    }
}
