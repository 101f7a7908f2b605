// vireoctl on several simulated cameras at once: parallel load, save into a folder, diff, and
// the refusal of several cameras by the commands that take one.
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <future>
#include <thread>
#include <set>

using namespace testing_support;

namespace {

// Long enough for a healthy camera on a machine busy with a whole parallel test run; only the
// silent cameras wait it out, once each.
constexpr const char* kTimeoutMs = "1000";

class VireoctlFleet : public ::testing::Test {
protected:
    void SetUp() override { dir = MakeTempDir("vireoctl-fleet"); }
    void TearDown() override { RemoveTree(dir); }

    // Starts one more simulated camera and gives its port.
    std::string Start(std::vector<std::string> options)
    {
        std::vector<std::string> argv{CAMSIM_PATH};
        argv.insert(argv.end(), options.begin(), options.end());
        cameras.push_back(std::make_unique<BackgroundProcess>(argv));
        const std::string port = cameras.back()->FirstLine();
        EXPECT_FALSE(port.empty());
        return port;
    }

    ProcessResult Run(const std::vector<std::string>& ports, std::vector<std::string> args)
    {
        std::vector<std::string> argv{VIREOCTL_PATH, "--timeout", kTimeoutMs};
        for (const std::string& port : ports) {
            argv.push_back("--port");
            argv.push_back(port);
        }
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProcess(argv, {"XDG_CONFIG_HOME=" + config.Path()});
    }

    std::string RGain(const std::string& port)
    {
        return Run({port}, {"call", "auto", "GetRGain"}).out;
    }

    ScopedSettingsDir config;
    std::string dir;
    std::vector<std::unique_ptr<BackgroundProcess>> cameras;
};

std::set<std::string> FilesIn(const std::string& path)
{
    std::set<std::string> names;
    if (DIR* folder = ::opendir(path.c_str())) {
        while (const dirent* entry = ::readdir(folder))
            if (entry->d_name[0] != '.')
                names.insert(entry->d_name);
        ::closedir(folder);
    }
    return names;
}

} // namespace

TEST_F(VireoctlFleet, ParallelLoadGoesOnPastASilentCamera)
{
    const std::string a = Start({"--model", "RVQM52CM14"});
    const std::string b = Start({"--model", "RVQM52CM14"});
    const std::string silent = Start({"--model", "RVQM52CM14", "--fault", "silent"});
    const std::string file = dir + "/line.json";
    ASSERT_EQ(Run({a}, {"save", "auto", file}).exitStatus, 0);
    for (const std::string& port : {a, b})
        ASSERT_EQ(Run({port}, {"call", "RVQM52CM14", "SetRGain", "100"}).exitStatus, 0);

    const auto load = Run({a, silent, b}, {"load", file});
    EXPECT_EQ(load.exitStatus, 1) << load.err;
    const std::string live = "\tok (live only: lost at power-off)\n";
    EXPECT_EQ(load.out, a + live + silent +
                            "\tfailed: error 256: RS232C Timeout; nothing written\n" + b + live);
    // Standard error is no terminal here: no progress lines.
    EXPECT_EQ(load.err.find(" of "), std::string::npos) << load.err;
    EXPECT_EQ(RGain(a), "512\n");
    EXPECT_EQ(RGain(b), "512\n");

    const auto allGood = Run({b, a}, {"load", file});
    EXPECT_EQ(allGood.exitStatus, 0) << allGood.err;
    EXPECT_EQ(allGood.out, b + live + a + live);
}

TEST_F(VireoctlFleet, CameraLinkAndSerialPortsMixInOneLoad)
{
    const std::string serial = Start({"--model", "RVQM52CM14"});
    const std::string file = dir + "/line.json";
    ASSERT_EQ(Run({serial}, {"save", "auto", file}).exitStatus, 0);
    // Two grabber ports of one library, each its own port object, beside the serial camera;
    // port 2 has no camera behind it.
    const auto load = RunProcess({VIREOCTL_PATH, "--timeout", kTimeoutMs, "--cl", "1", "--port",
                                  serial, "--cl", "0", "--cl", "7", "load", file},
                                 {"XDG_CONFIG_HOME=" + config.Path(),
                                  std::string("CLALLSERIAL_LIBRARY=") + CLSIM_PATH,
                                  "CLSIM_CONFIG=models=RVQM52CM14,RVQM52CM14"});
    EXPECT_EQ(load.exitStatus, 1) << load.err;
    const auto lines = Lines(load.out);
    ASSERT_EQ(lines.size(), 4u) << load.out;
    const std::string live = "\tok (live only: lost at power-off)";
    EXPECT_EQ(lines[0], "cl:1" + live);
    EXPECT_EQ(lines[1], serial + live);
    EXPECT_EQ(lines[2], "cl:0" + live);
    EXPECT_EQ(lines[3].rfind("cl:7\tfailed: cannot open Camera Link port 7", 0), 0u) << lines[3];

    // A port the library refuses to open is named with the library's reason.
    const auto refused = RunProcess({VIREOCTL_PATH, "--cl", "0", "read", "20"},
                                    {"XDG_CONFIG_HOME=" + config.Path(),
                                     std::string("CLALLSERIAL_LIBRARY=") + CLSIM_PATH,
                                     "CLSIM_CONFIG=fail=clSerialInit:-10003"});
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_EQ(refused.err, "error: cannot open Camera Link port 0: VireoSim: Port in use\n");
}

// A rate the grabber port does not offer leaves its rate as it was; asked for on the command
// line, it is warned of.
TEST_F(VireoctlFleet, ARateTheGrabberDoesNotOfferIsWarnedOf)
{
    struct Case {
        const char* rates;
        bool warned;
    };
    for (const Case& c : {Case{"rates=0x01", true}, Case{"rates=0xFF", false}}) {
        SCOPED_TRACE(c.rates);
        const auto read = RunProcess({VIREOCTL_PATH, "--cl", "0", "--baud", "19200", "read", "20"},
                                     {"XDG_CONFIG_HOME=" + config.Path(),
                                      std::string("CLALLSERIAL_LIBRARY=") + CLSIM_PATH,
                                      std::string("CLSIM_CONFIG=") + c.rates});
        EXPECT_EQ(read.exitStatus, 0) << read.err;
        EXPECT_FALSE(read.out.empty());
        EXPECT_EQ(read.err, c.warned ? "warning: Camera Link port 0 does not offer 19200 baud; "
                                       "its rate is left as it was\n"
                                     : "");
    }
}

// Cameras that share a serial number are named by their order among the targets, whichever
// finishes first: the first target here answers slowest.
TEST_F(VireoctlFleet, SaveIntoAFolderNamesEachCameraAndNeverOverwritesAnother)
{
    const std::string colour1 = Start({"--model", "RVQM52CM14", "--delay", "20"});
    const std::string colour2 = Start({"--model", "RVQM52CM14"}); // the same serial number
    const std::string other = Start({"--model", "RV1250LX"});
    const std::string folder = dir + "/line/";
    ASSERT_EQ(Run({colour1}, {"call", "RVQM52CM14", "SetRGain", "100"}).exitStatus, 0);

    const auto save = Run({colour1, colour2, other}, {"save", "auto", folder});
    EXPECT_EQ(save.exitStatus, 0) << save.err;
    std::string serial = Run({other}, {"call", "auto", "GetSerialNo"}).out;
    serial.pop_back();
    const std::string first = folder + "RVQM52CM14-5220041.json";
    const std::string second = folder + "RVQM52CM14-5220041-2.json";
    EXPECT_EQ(save.out, colour1 + "\tok\t" + first + "\n" + colour2 + "\tok\t" + second + "\n" +
                            other + "\tok\t" + folder + "RV1250LX-" + serial + ".json\n");
    EXPECT_NE(
        save.err.find("warning: " + colour1 + ", " + colour2 + " report the same serial number"),
        std::string::npos)
        << save.err;
    EXPECT_EQ(FilesIn(dir + "/line").size(), 3u);
    // Each camera's own values are in its own file: the first holds RGain 100, the other 512.
    EXPECT_EQ(Run({colour1}, {"diff", first}).exitStatus, 0);
    EXPECT_EQ(Run({colour1}, {"diff", second}).exitStatus, 3);

    // Several cameras and one file name: refused before anything is sent.
    const auto oneFile = Run({colour1, colour2}, {"save", "auto", dir + "/one.json"});
    EXPECT_EQ(oneFile.exitStatus, 2);
    EXPECT_EQ(FilesIn(dir).count("one.json"), 0u);
}

TEST_F(VireoctlFleet, DiffReportsWhatDiffersAndNeverWrites)
{
    const std::string a = Start({"--model", "RVQM52CM14"});
    const std::string b = Start({"--model", "RVQM52CM14"});
    const std::string silent = Start({"--model", "RVQM52CM14", "--fault", "silent"});
    const std::string file = dir + "/ref.json";
    ASSERT_EQ(Run({a}, {"save", "auto", file}).exitStatus, 0);
    ASSERT_EQ(Run({b}, {"call", "RVQM52CM14", "SetRGain", "100"}).exitStatus, 0);
    const std::string bad = dir + "/bad.json";
    std::ofstream(bad) << "not JSON";

    struct Case {
        std::vector<std::string> ports;
        std::string file;
        int exitStatus;
        std::string out;
    };
    const std::vector<Case> cases{
        {{a}, file, 0, ""},
        {{b}, file, 3, "RGain\t512\t100\n"},
        {{silent}, file, 1, ""},
        {{a}, bad, 2, ""},
        {{a, b}, file, 3, "[" + a + "]\n[" + b + "]\nRGain\t512\t100\n"},
        {{b, silent},
         file,
         1,
         "[" + b + "]\nRGain\t512\t100\n[" + silent + "]\nfailed: error 256: RS232C Timeout\n"},
    };
    for (const Case& c : cases) {
        const auto diff = Run(c.ports, {"diff", c.file});
        SCOPED_TRACE(c.ports.size() == 1 ? c.ports[0] + " " + c.file : c.out);
        EXPECT_EQ(diff.exitStatus, c.exitStatus) << diff.err;
        EXPECT_EQ(diff.out, c.out);
        if (c.exitStatus == 2) {
            const auto lines = Lines(diff.err);
            EXPECT_EQ(lines.at(0).rfind("error: " + bad + ": not JSON: parse error", 0), 0u);
            EXPECT_EQ(lines.at(1).rfind("usage: vireoctl ", 0), 0u);
        }
    }
    EXPECT_EQ(RGain(b), "100\n") << "diff wrote to the camera";
}

TEST_F(VireoctlFleet, CommandsOfOneCameraRefuseSeveral)
{
    const std::string a = Start({"--model", "RVQM52CM14"});
    const std::string b = Start({"--model", "RVQM52CM14"});
    const std::string script = dir + "/s.txt";
    std::ofstream(script) << "write 150 a5\n";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"read", "20"},
                                                 {"write", "150", "a5"},
                                                 {"call", "auto", "SetRGain", "7"},
                                                 {"script", script}}) {
        const auto run = Run({a, b}, args);
        EXPECT_EQ(run.exitStatus, 2) << args[0];
        EXPECT_EQ(Lines(run.err).at(0),
                  args[0] + ": takes one camera, not 2 (" + a + ", " + b + ")");
    }
    // Nothing was written to either.
    EXPECT_EQ(Run({a}, {"read", "150"}).out, Run({b}, {"read", "150"}).out);
    EXPECT_NE(Run({a}, {"read", "150"}).out, "A5\n");
    EXPECT_EQ(RGain(a), "512\n");
}

// The first SIGTERM stops every camera between two settings, puts back what was written, and
// each says how far it got; a second one cuts even a long wait short, and each camera still
// says how it ended.
TEST_F(VireoctlFleet, ASignalDuringALoadStopsEveryCameraAndSaysHowFar)
{
    const std::string file = dir + "/line.json";
    {
        const std::string quick = Start({"--model", "RVQM52CM14"});
        ASSERT_EQ(Run({quick}, {"save", "auto", file}).exitStatus, 0);
    }
    struct Case {
        const char* delayMs;
        const char* firstSignalAfter;  // seconds (after the first writes, where lines are printed)
        const char* secondSignalAfter; // empty: one signal only
        bool linesPrinted;
    };
    for (const Case& c : {Case{"50", "0.1", "", true}, Case{"2000", "1", "0.2", false}}) {
        SCOPED_TRACE(c.delayMs);
        const std::string a = Start({"--model", "RVQM52CM14", "--delay", c.delayMs});
        const std::string b = Start({"--model", "RVQM52CM14", "--delay", c.delayMs});
        if (c.linesPrinted) {
            for (const std::string& port : {a, b})
                ASSERT_EQ(Run({port}, {"call", "RVQM52CM14", "SetOutLevelOffset", "60"}).exitStatus,
                          0);
        }
        std::string second;
        if (*c.secondSignalAfter)
            second = std::string("sleep ") + c.secondSignalAfter + "; kill -TERM $p; ";
        // Where settings are to be written before the signal, it waits for a write frame to
        // each camera in the log (a slow machine may take seconds to get there), at most 30 s.
        const std::string log = config.Path() + "/load.log";
        std::string written;
        if (c.linesPrinted)
            for (const std::string& port : {a, b})
                written += "until grep -q '^" + port +
                           ": SEND: \\[STX\\][0-9A-F][0-9A-F][0-9A-F][0-9A-F]\\[ETX\\]' " + log +
                           " || [ $((n+=1)) -gt 600 ]; do sleep 0.05; done; ";
        const auto run = RunProcess(
            {"/bin/sh", "-c",
             std::string(VIREOCTL_PATH) + " --log --timeout 10000 --port " + a + " --port " + b +
                 " load " + file + " 2>" + log + " & p=$!; n=0; " + written + "sleep " +
                 c.firstSignalAfter + "; kill -TERM $p; " + second + "wait $p; echo status=$?"},
            {"XDG_CONFIG_HOME=" + config.Path()}, 60);
        const auto lines = Lines(run.out);
        ASSERT_FALSE(lines.empty()) << run.err;
        EXPECT_EQ(lines.back(), "status=143") << run.out << run.err;
        if (!c.linesPrinted) {
            ASSERT_EQ(lines.size(), 3u) << run.out;
            for (std::size_t i = 0; i < 2; ++i)
                EXPECT_EQ(lines[i],
                          (i == 0 ? a : b) +
                              "\tfailed: error 265: Cancelled by the user; nothing written");
            EXPECT_LT(run.seconds, 1.9) << "the second signal did not end the wait";
            continue;
        }
        ASSERT_EQ(lines.size(), 3u) << run.out << run.err;
        for (std::size_t i = 0; i < 2; ++i) {
            const std::string head = (i == 0 ? a : b) + "\tfailed: interrupted: ";
            ASSERT_EQ(lines[i].rfind(head, 0), 0u) << lines[i];
            int written = -1;
            int total = -1;
            ASSERT_EQ(std::sscanf(lines[i].c_str() + head.size(), "%d of %d", &written, &total), 2)
                << lines[i];
            EXPECT_GT(written, 0);
            EXPECT_LT(written, total);
            EXPECT_NE(lines[i].find(" settings written; OutLevelOffset: sent "), std::string::npos)
                << lines[i];
            EXPECT_EQ(lines[i].substr(lines[i].size() - 44),
                      "rolled back: the camera holds its old values")
                << lines[i];
        }
        for (const std::string& port : {a, b})
            EXPECT_EQ(Run({port}, {"call", "RVQM52CM14", "GetOutLevelOffset"}).out, "60\n");
    }
}

// A port lost half-way is named as lost on its result line, not as a time-out, and the rest of
// the run goes on.
TEST_F(VireoctlFleet, ALostPortIsNamedInPlainWords)
{
    const std::string healthy = Start({"--model", "RVQM52CM14"});
    const std::string doomed = Start({"--model", "RVQM52CM14", "--delay", "50"});
    const std::string folder = dir + "/line/";
    auto running = std::async(std::launch::async, [&] {
        return Run({healthy, doomed}, {"save", "auto", folder});
    });
    // After the model name (eleven exchanges), while the settings are read.
    std::this_thread::sleep_for(std::chrono::milliseconds(1000));
    cameras.back()->Stop();
    const auto run = running.get();
    EXPECT_EQ(run.exitStatus, 1) << run.err;
    const auto lines = Lines(run.out);
    ASSERT_EQ(lines.size(), 2u) << run.out;
    EXPECT_EQ(lines[0].rfind(healthy + "\tok\t" + folder, 0), 0u) << lines[0];
    EXPECT_EQ(lines[1].rfind(doomed + "\tfailed: ", 0), 0u) << lines[1];
    EXPECT_NE(lines[1].find("the port was lost"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[1].find("RS232C Timeout"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[1].substr(lines[1].size() - 17), "; no file written") << lines[1];
}
