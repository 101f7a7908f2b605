// vireoctl's identify, save and load against the simulated camera program.
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>

using namespace testing_support;

namespace {

class VireoctlSettings : public ::testing::Test {
protected:
    void SetUp() override { dir = MakeTempDir("vireoctl-settings"); }
    void TearDown() override { RemoveTree(dir); }

    void Start(std::vector<std::string> options)
    {
        camsim = std::make_unique<CamsimProgram>(CAMSIM_PATH, options);
        port = camsim->device;
        ASSERT_FALSE(port.empty());
    }

    ProcessResult Run(std::vector<std::string> args)
    {
        std::vector<std::string> argv{VIREOCTL_PATH, "--port", port, "--timeout", "300"};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProcess(argv, {"XDG_CONFIG_HOME=" + config.Path()});
    }

    std::string Write(const std::string& name, const std::string& text)
    {
        const std::string path = dir + "/" + name;
        std::ofstream(path) << text;
        return path;
    }

    ScopedSettingsDir config;
    std::string dir;
    std::unique_ptr<CamsimProgram> camsim;
    std::string port;
};

bool Exists(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

} // namespace

TEST_F(VireoctlSettings, SaveAutoChangeLoadBringsTheRGainBack)
{
    Start({"--model", "RVQM52CM14"});
    const auto identify = Run({"identify"});
    EXPECT_EQ(identify.exitStatus, 0) << identify.err;
    EXPECT_EQ(identify.out, "vendor\tKORVALIS\nmodel\tRVQM52CM14\nserial\t5220041\ncpu\tCPU 3.01\n"
                            "fpga\tFPGA1.06\nkind\tRVQM52CM14\n");

    const std::string file = dir + "/cam.json";
    const auto save = Run({"save", "auto", file});
    EXPECT_EQ(save.exitStatus, 0) << save.err;
    EXPECT_EQ(save.out, "Saved 18 settings of RVQM52CM14 to " + file + "\n");
    const auto before = Run({"call", "auto", "GetRGain"});
    ASSERT_EQ(before.exitStatus, 0) << before.err;

    EXPECT_EQ(Run({"call", "RVQM52CM14", "SetRGain", "100"}).exitStatus, 0);
    EXPECT_EQ(Run({"call", "auto", "GetRGain"}).out, "100\n");

    // A dry run lists the operations in order and sends nothing.
    const auto dry = Run({"--log", "load", file, "--dry-run"});
    EXPECT_EQ(dry.exitStatus, 0);
    EXPECT_NE(dry.out.find("RVQM52CM14 SetWbColorTemp 55\nRVQM52CM14 SetRGain 512\n"),
              std::string::npos)
        << dry.out;
    EXPECT_EQ(dry.err.find("SEND"), std::string::npos) << dry.err;
    EXPECT_EQ(Run({"call", "auto", "GetRGain"}).out, "100\n");

    const auto load = Run({"load", file});
    EXPECT_EQ(load.exitStatus, 0) << load.err;
    EXPECT_EQ(load.out, "Loaded 18 settings of RVQM52CM14 from " + file +
                            " (live only: lost at power-off)\n");
    EXPECT_EQ(Run({"call", "auto", "GetRGain"}).out, before.out);
}

// A verified load is saved into a memory bank only when asked; the bank then brings it back.
TEST_F(VireoctlSettings, StoreSavesAVerifiedLoadIntoABank)
{
    Start({"--model", "RVQM52CM14"});
    const std::string file = dir + "/cam.json";
    ASSERT_EQ(Run({"save", "auto", file}).exitStatus, 0);
    struct Case {
        std::vector<std::string> options;
        int exitStatus;
        const char* ending; // of the result line
        const char* rGainFromBank2;
    };
    const Case cases[] = {
        {{"--store", "9"}, 2, "", "100\n"},
        {{}, 0, " (live only: lost at power-off)\n", "100\n"},
        {{"--store", "2"}, 0, " (stored in bank 2)\n", "512\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.ending);
        // Bank 2 holds RGain 100 before each load.
        ASSERT_EQ(Run({"call", "RVQM52CM14", "SetRGain", "100"}).exitStatus, 0);
        ASSERT_EQ(Run({"call", "RVQM52CM14", "SaveBankMemory", "2"}).exitStatus, 0);
        std::vector<std::string> args{"load", file};
        args.insert(args.end(), c.options.begin(), c.options.end());
        const auto load = Run(args);
        EXPECT_EQ(load.exitStatus, c.exitStatus) << load.err;
        EXPECT_EQ(load.out, c.exitStatus == 0
                                ? "Loaded 18 settings of RVQM52CM14 from " + file + c.ending
                                : "");
        ASSERT_EQ(Run({"call", "RVQM52CM14", "LoadBankMemory", "2"}).exitStatus, 0);
        EXPECT_EQ(Run({"call", "auto", "GetRGain"}).out, c.rGainFromBank2);
    }
}

TEST_F(VireoctlSettings, BadFilesAndAnotherModelAreRefusedWithNothingSent)
{
    Start({"--model", "RVQM52BM14"});
    const std::string head = R"({"format": "VireoStudio camera settings", "version": 1, )";
    const std::vector<std::pair<std::string, std::string>> files{
        {"not JSON", "not JSON: parse error"},
        {head + R"("model": "RVQM52BM14", "settings": {"Gamma": 1}})",
         "Gamma: unknown name for the RVQM52BM14"},
        {head + R"("model": "RVQM52BM14", "settings": {"PartialHeight": 49}})",
         "PartialHeight: 49 is outside 50..1236"},
    };
    for (const auto& [text, reason] : files) {
        const std::string path = Write("bad.json", text);
        const auto load = Run({"--log", "load", path});
        EXPECT_EQ(load.exitStatus, 2) << text;
        EXPECT_NE(load.err.find("error: " + path + ": " + reason), std::string::npos) << load.err;
        EXPECT_EQ(load.err.find("SEND"), std::string::npos) << load.err;
    }
    EXPECT_EQ(Run({"load", dir + "/none.json"}).exitStatus, 2);

    // Settings of the colour model on the monochrome camera: refused unless forced.
    const std::string colour =
        Write("colour.json", head + R"("model": "RVQM52CM14", "settings": {"ShutterSpeed": 10}})");
    const auto refused = Run({"load", colour});
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_NE(refused.err.find("holds settings of the RVQM52CM14; the camera is \"RVQM52BM14\""),
              std::string::npos)
        << refused.err;
    EXPECT_EQ(Run({"call", "auto", "GetShutterSpeed"}).out, "624\n");
    EXPECT_EQ(Run({"load", "--force", colour}).exitStatus, 0);
    EXPECT_EQ(Run({"call", "auto", "GetShutterSpeed"}).out, "10\n");
}

TEST_F(VireoctlSettings, ASilentCameraGivesNoFileAndNoIdentity)
{
    Start({"--model", "RV1250LX", "--fault", "silent"});
    const std::string file = dir + "/cam.json";
    const auto save = Run({"save", "RV1250LX", file});
    EXPECT_EQ(save.exitStatus, 1);
    EXPECT_NE(save.err.find("error: identity: RS232C Timeout"), std::string::npos) << save.err;
    EXPECT_NE(save.err.find("error: no setting read\nerror: " + file + " not written"),
              std::string::npos)
        << save.err;
    EXPECT_FALSE(Exists(file));

    const auto identify = Run({"identify"});
    EXPECT_EQ(identify.exitStatus, 1);
    EXPECT_NE(identify.err.find("error 256: RS232C Timeout"), std::string::npos) << identify.err;
    EXPECT_EQ(Run({"save", "auto", file}).exitStatus, 1);
    EXPECT_EQ(Run({"call", "auto", "GetGain"}).exitStatus, 1);
    EXPECT_FALSE(Exists(file));
}

// A file nobody may write is an approved one: save replaces it only when forced, and keeps it
// protected. "-" sends the file to standard output.
TEST_F(VireoctlSettings, ReadOnlyTargetsAreKeptUnlessForcedAndDashIsStandardOutput)
{
    Start({"--model", "RVQM52CM14"});
    const std::string file = Write("approved.json", "approved");
    const std::string folder = dir + "/line/";
    ::mkdir(folder.c_str(), 0777);
    const std::string inFolder = Write("line/RVQM52CM14-5220041.json", "approved");
    for (const std::string& path : {file, inFolder})
        ::chmod(path.c_str(), 0444);

    struct Case {
        std::vector<std::string> args;
        std::string path; // the protected file the run aims at
        int exitStatus;
        std::string err;
        bool replaced;
    };
    const std::vector<Case> cases{
        {{"save", "auto", file},
         file,
         1,
         "error: " + file + " is read-only: not replaced\n",
         false},
        {{"save", "auto", folder},
         inFolder,
         1,
         "error: " + inFolder + " is read-only: not replaced\n",
         false},
        {{"save", "--force", "auto", file}, file, 0, "", true},
        {{"save", "auto", folder, "--force"}, inFolder, 0, "", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[1] + " " + c.args[2]);
        const auto save = Run(c.args);
        EXPECT_EQ(save.exitStatus, c.exitStatus) << save.err;
        EXPECT_EQ(save.err, c.err);
        std::ifstream in(c.path);
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        EXPECT_EQ(text != "approved", c.replaced) << text;
        struct stat info {};
        ASSERT_EQ(::stat(c.path.c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0444u);
    }

    const auto toOutput = Run({"save", "auto", "-"});
    EXPECT_EQ(toOutput.exitStatus, 0) << toOutput.err;
    std::ifstream in(file);
    EXPECT_EQ(toOutput.out.substr(0, 40),
              std::string((std::istreambuf_iterator<char>(in)), {}).substr(0, 40));
    EXPECT_NE(toOutput.out.find("\"RGain\": 512"), std::string::npos) << toOutput.out;
    EXPECT_FALSE(Exists(dir + "/-"));
}
