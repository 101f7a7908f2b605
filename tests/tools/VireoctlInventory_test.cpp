// vireoctl with an inventory: cameras by name, the faults of a malformed inventory, the
// "cameras" listing, the check that refuses to write to a replaced camera, and the reports and
// inventory edits that must tell a replaced camera.
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <functional>
#include <future>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;

namespace {

constexpr const char* kTimeoutMs = "1000";

std::string ReadText(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

class VireoctlInventory : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = MakeTempDir("vireoctl-inventory");
        inventory = dir + "/cameras.toml";
    }
    void TearDown() override { RemoveTree(dir); }

    std::string Start(const std::vector<std::string>& options)
    {
        cameras.push_back(std::make_unique<CamsimProgram>(CAMSIM_PATH, options));
        EXPECT_FALSE(cameras.back()->device.empty());
        return cameras.back()->device;
    }

    void WriteInventory(const std::string& text) { std::ofstream(inventory) << text; }
    std::string ReadInventory() const
    {
        std::ostringstream text;
        text << std::ifstream(inventory).rdbuf();
        return text.str();
    }

    // vireoctl with the inventory and a simulated grabber of two cameras on cl:0 and cl:1.
    ProcessResult Run(std::vector<std::string> args)
    {
        std::vector<std::string> argv{VIREOCTL_PATH, "--timeout", kTimeoutMs, "--inventory",
                                      inventory};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProcess(argv, {"XDG_CONFIG_HOME=" + config.Path(),
                                 std::string("CLALLSERIAL_LIBRARY=") + CLSIM_PATH,
                                 "CLSIM_CONFIG=models=RVQM52CM14,RV1250LX"});
    }

    std::string Register(const std::string& port, const char* address)
    {
        return RunProcess({VIREOCTL_PATH, "--port", port, "read", address},
                          {"XDG_CONFIG_HOME=" + config.Path()})
            .out;
    }

    ScopedSettingsDir config;
    std::string dir;
    std::string inventory;
    std::vector<std::unique_ptr<CamsimProgram>> cameras;
};

std::string Repeated(const std::string& text, int times)
{
    std::string repeated;
    for (int i = 0; i < times; ++i)
        repeated += text;
    return repeated;
}

} // namespace

// Each fault stops the command before its port is opened: the register keeps its value.
TEST_F(VireoctlInventory, AMalformedInventoryIsNamedWithItsLineAndNothingIsSent)
{
    const std::string port = Start({"--model", "RVQM52CM14"});
    const std::string entry = "[cameras.cam]\nport = \"" + port + "\"\n";
    struct Case {
        std::string text;
        std::string err;
    };
    const std::vector<Case> cases{
        {"# line 3\n[cameras.cam]\nmodel = \"RVQM52CM14\"\n", "cameras.toml:2: cam: no port"},
        {entry + "colour = \"red\"\n", "cameras.toml:3: cam: unknown key \"colour\" (port, "
                                       "model, serial)"},
        {entry + "[cameras.cam]\nport = \"cl:0\"\n",
         "cameras.toml:3: cam: a second camera of that name"},
        {"[cameras.cam]\nport = \"cl:x\"\n",
         "cameras.toml:2: cam: cl:x: not a Camera Link port index (cl:0, cl:1, ...)"},
        {"[cameras.cam]\nport = \"cl:-1\"\n",
         "cameras.toml:2: cam: cl:-1: not a Camera Link port index (cl:0, cl:1, ...)"},
        {entry + "serial = 5220041\n", "cameras.toml:3: cam: serial is not a text"},
        {entry + "[cameras.other]\nport = \"" + port + "\"\n",
         "cameras.toml:3: other: port " + port + " is also cam's"},
        {"lines = 3\n" + entry, "cameras.toml:1: unknown key \"lines\" (cameras)"},
        {entry + "model = \"RVQM52CM14\n", "cameras.toml:3: "},
        {entry + "model = \"NOSUCH\"\n",
         "cameras.toml:3: cam: model \"NOSUCH\" is none of RV1240DLX, RV1250LX, RVQM52BM14, "
         "RVQM52CM14"},
        {"[a" + Repeated(".a", 50000) + "]\n", "cameras.toml:1: nested too deeply"},
        {entry + "x = " + Repeated("{a=", 40) + "1" + Repeated("}", 40) + "\n",
         "cameras.toml:3: nested too deeply"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        WriteInventory(c.text);
        const auto run = Run({"--camera", "cam", "write", "6A", "05"});
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.err.rfind("error: " + inventory + ":", 0), 0u) << run.err;
        EXPECT_NE(run.err.find(c.err.substr(std::string("cameras.toml").size())), std::string::npos)
            << run.err;
        EXPECT_EQ(Lines(run.err).size(), 1u) << run.err;
        EXPECT_EQ(Register(port, "6A"), "00\n");
    }
}

TEST_F(VireoctlInventory, CamerasByNameMixWithPortsAndNameTheirResults)
{
    const std::string a = Start({"--model", "RVQM52CM14"});
    const std::string b = Start({"--model", "RVQM52CM14", "--serial", "5220077"});
    WriteInventory("[cameras.line3-cam1]\nport = \"" + a +
                   "\"\nmodel = \"RVQM52CM14\"\n\n[cameras.line3-cam2]\nport = \"" + b +
                   "\"\nserial = \"5220077\"\n\n[cameras.line3-grab]\nport = \"cl:0\"\n");
    const std::string file = dir + "/approved.json";
    ASSERT_EQ(Run({"--camera", "line3-cam1", "save", "auto", file}).exitStatus, 0);

    const auto identify = Run({"--all", "identify"});
    EXPECT_EQ(identify.exitStatus, 0) << identify.err;
    const auto blocks = Lines(identify.out);
    ASSERT_EQ(blocks.size(), 21u) << identify.out;
    EXPECT_EQ(blocks[0], "[line3-cam1]");
    EXPECT_EQ(blocks[7], "[line3-cam2]");
    EXPECT_EQ(blocks[10], "serial\t5220077");
    EXPECT_EQ(blocks[14], "[line3-grab]");

    const std::string live = "\tok (live only: lost at power-off)\n";
    struct Case {
        std::vector<std::string> args;
        int exitStatus;
        std::string out;
        std::string err; // the first line
    };
    const std::vector<Case> cases{
        {{"--all", "load", file},
         0,
         "line3-cam1" + live + "line3-cam2" + live + "line3-grab" + live,
         ""},
        {{"--cl", "1", "--camera", "line3-cam2", "load", file},
         1,
         "cl:1\tfailed: " + file +
             " holds settings of the RVQM52CM14; the camera is \"RV1250LX\" (--force loads them "
             "anyway); nothing written\nline3-cam2" +
             live,
         ""},
        {{"--camera", "line9", "identify"}, 2, "", "--camera line9: not in " + inventory},
        {{"--camera", "line3-cam1", "--port", a, "identify"},
         2,
         "",
         a + ": given twice (as line3-cam1)"},
        {{"--camera", "line3-cam1", "--all", "identify"}, 2, "", "line3-cam1: given twice"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const auto run = Run(c.args);
        EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
        EXPECT_EQ(run.out, c.out);
        const auto errLines = Lines(run.err);
        EXPECT_EQ(errLines.empty() ? "" : errLines[0], c.err) << run.err;
    }
}

TEST_F(VireoctlInventory, CamerasListsEachCameraAndWhatAnswers)
{
    const std::string a = Start({"--model", "RVQM52CM14"});
    const std::string swapped = Start({"--model", "RVQM52CM14", "--serial", "5220077"});
    const std::string silent = Start({"--model", "RV1250LX", "--fault", "silent"});
    const std::string refusing = Start({"--model", "RV1250LX", "--fault", "nak"});
    const std::string gone = dir + "/no-such-port";
    WriteInventory(
        "[cameras.a]\nport = \"" + a +
        "\"\nmodel = \"RVQM52CM14\"\nserial = " + "\"5220041\"\n[cameras.swapped]\nport = \"" +
        swapped + "\"\nserial = \"5220041\"\n[cameras.silent]\nport = \"" + silent +
        "\"\n[cameras.refusing]\nport = \"" + refusing + "\"\n[cameras.gone]\nport = \"" + gone +
        "\"\n[cameras.grabber]\nport = \"cl:1\"\nmodel = \"RV1250LX\"\n");
    const auto run = Run({"cameras"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "a\t" + a + "\tok\tRVQM52CM14\t5220041\nswapped\t" + swapped +
                           "\treplaced\tRVQM52CM14\t5220077\nsilent\t" + silent +
                           "\tno-answer\t-\t-\nrefusing\t" + refusing + "\trefused\t-\t-\ngone\t" +
                           gone + "\tno-port\t-\t-\ngrabber\tcl:1\tok\tRV1250LX\t5020114\n");
    const auto errLines = Lines(run.err);
    ASSERT_EQ(errLines.size(), 4u) << run.err;
    EXPECT_EQ(errLines[0], "silent: Communication Error: RCV Timeout");
    EXPECT_EQ(errLines[1], "silent: error 256: RS232C Timeout");
    EXPECT_EQ(errLines[2], "refusing: error 1: the camera refused the request");
    EXPECT_EQ(errLines[3].rfind("gone: cannot open port " + gone, 0), 0u) << errLines[3];

    WriteInventory("# nothing yet\n");
    const auto empty = Run({"cameras"});
    EXPECT_EQ(empty.exitStatus, 0);
    EXPECT_EQ(empty.out, "");
}

// Every kind of write is refused on a swapped camera before anything is sent; a read is not
// checked. --accept-replacement writes and keeps the new serial number, the rest of the file
// as it was.
TEST_F(VireoctlInventory, ASwappedCameraIsRefusedBeforeAnyWriteUnlessAccepted)
{
    const std::string port = Start({"--model", "RVQM52CM14", "--serial", "5220077"});
    const std::string file = dir + "/approved.json";
    ASSERT_EQ(RunProcess({VIREOCTL_PATH, "--port", port, "save", "auto", file},
                         {"XDG_CONFIG_HOME=" + config.Path()})
                  .exitStatus,
              0);
    const std::string script = dir + "/set.txt";
    std::ofstream(script) << "read 6A\nwrite 6A 05\n";
    const std::string head = "# line 3, left side\n[cameras.line3-cam2]  # by the conveyor\n"
                             "port = \"" +
                             port + "\"\nmodel = \"RVQM52CM14\"\n";
    const std::string original = head + "serial = \"5220041\"   # fitted 2024\n";
    const std::string refusal = "line3-cam2: camera replaced: expected RVQM52CM14 5220041, "
                                "found RVQM52CM14 5220077; nothing was written\n";
    WriteInventory(original);
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const std::vector<Case> cases{
        {{"write", "6A", "05"}, ""},
        {{"call", "auto", "SetTriggerPolarity", "1"}, ""},
        {{"call", "RVQM52CM14", "SaveBankMemory", "1"}, ""},
        {{"load", file}, ""},
        {{"script", script}, "00\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0]);
        std::vector<std::string> args{"--log", "--camera", "line3-cam2"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto run = Run(args);
        EXPECT_EQ(run.exitStatus, 1);
        EXPECT_EQ(run.out, c.out);
        // The refusal comes once, and the log holds read requests ("addrRQ") only.
        int refusals = 0;
        for (const std::string& line : Lines(run.err)) {
            refusals += line + "\n" == refusal;
            if (line.rfind("SEND: ", 0) == 0) {
                EXPECT_NE(line.find("RQ[ETX]"), std::string::npos) << line;
            }
        }
        EXPECT_EQ(refusals, 1) << run.err;
        EXPECT_EQ(Register(port, "6A"), "00\n");
        EXPECT_EQ(ReadInventory(), original);
    }
    // Reading is not checked; neither is the camera addressed by its port.
    EXPECT_EQ(Run({"--camera", "line3-cam2", "read", "6A"}).exitStatus, 0);
    EXPECT_EQ(Run({"--port", port, "write", "6A", "01"}).exitStatus, 0);

    const auto accepted =
        Run({"--camera", "line3-cam2", "--accept-replacement", "write", "6A", "05"});
    EXPECT_EQ(accepted.exitStatus, 0) << accepted.err;
    EXPECT_EQ(accepted.err, "line3-cam2: camera replaced: expected RVQM52CM14 5220041, found "
                            "RVQM52CM14 5220077; written anyway; " +
                                inventory + " now gives serial 5220077\n");
    EXPECT_EQ(Register(port, "6A"), "05\n");
    EXPECT_EQ(ReadInventory(), head + "serial = \"5220077\"   # fitted 2024\n");
    // The inventory now names this camera: writes go on without the option.
    EXPECT_EQ(Run({"--camera", "line3-cam2", "write", "6A", "00"}).exitStatus, 0);

    // An entry with no serial line gets one after its port line.
    WriteInventory("[cameras.line3-cam2]\r\nport = \"" + port +
                   "\"  # p\r\nmodel = \"RVQM52BM14\"\r\n");
    EXPECT_EQ(Run({"--camera", "line3-cam2", "write", "6A", "01"}).exitStatus, 1);
    EXPECT_EQ(
        Run({"--camera", "line3-cam2", "--accept-replacement", "write", "6A", "01"}).exitStatus, 0);
    EXPECT_EQ(ReadInventory(), "[cameras.line3-cam2]\r\nport = \"" + port +
                                   "\"  # p\r\nserial = \"5220077\"\r\nmodel = \"RVQM52BM14\"\r\n");
}

// What a replaced camera does to reports and to the inventory: a report fails it and keeps the
// expected serial; a report never lands on an input or a protected file; an accepted
// replacement is recorded in the entry's own form, by every process at once, and only once the
// change was made.
TEST_F(VireoctlInventory, ReportsAndInventoryEditsTellAReplacedCamera)
{
    using Json = nlohmann::json;
    const std::string good = Start({"--model", "RVQM52CM14"});
    const std::string swapped = Start({"--model", "RVQM52CM14", "--serial", "5220077"});
    const std::string mono = Start({"--model", "RVQM52BM14"});
    std::vector<std::string> several;
    for (int n = 1; n <= 7; ++n)
        several.push_back(Start({"--model", "RV1250LX", "--serial", "502010" + std::to_string(n)}));
    const std::string golden = dir + "/golden.json", monoFile = dir + "/mono.json";
    const std::string report = dir + "/r.json", junit = dir + "/r.xml";
    ASSERT_EQ(Run({"--port", good, "save", "auto", golden}).exitStatus, 0);
    ASSERT_EQ(Run({"--port", mono, "save", "auto", monoFile}).exitStatus, 0);
    ::symlink(golden.c_str(), (dir + "/link.json").c_str());
    const std::string goldenText = ReadText(golden);
    const std::string line = "[cameras.good]\nport = \"" + good + "\"\nserial = \"5220041\"\n" +
                             "[cameras.cam2]\nport = \"" + swapped + "\"\nserial = \"5220041\"\n";
    const std::string dotted =
        "cameras.cam2.port = \"" + swapped + "\"  # left\ncameras.cam2.model = \"RVQM52BM14\"\n";
    std::string seven, sevenAccepted;
    std::vector<std::vector<std::string>> acceptAll;
    for (int n = 1; n <= 7; ++n) {
        const std::string entry =
            "cameras.c" + std::to_string(n) + " = { port = \"" + several[n - 1] + "\", serial = \"";
        seven += entry + "0\" }\n";
        sevenAccepted += entry + "502010" + std::to_string(n) + "\" }\n";
        acceptAll.push_back(
            {"--camera", "c" + std::to_string(n), "--accept-replacement", "write", "6A", "01"});
    }
    const auto unchanged = [&](const std::string& inventoryText) {
        return [&, inventoryText] {
            EXPECT_EQ(ReadInventory(), inventoryText);
            EXPECT_EQ(ReadText(golden), goldenText);
        };
    };
    const std::string refused = "camera replaced: expected 5220041, found 5220077";

    struct Case {
        const char* rule;
        std::string inventory;
        std::vector<std::vector<std::string>> runs; // started together
        int exitStatus;                             // of each run
        std::string err;                            // held by each run's standard error
        std::function<void()> check;
    };
    const std::vector<Case> cases{
        {"replaced camera in a verification",
         line,
         {{"--all", "diff", golden, "--report", report, "--junit", junit}},
         1,
         "",
         [&] {
             const Json cameras = Json::parse(ReadText(report))["cameras"];
             EXPECT_EQ(cameras[0]["result"], "match");
             EXPECT_EQ(cameras[1]["result"], "failed: " + refused);
             EXPECT_EQ(cameras[1]["expected_serial"], "5220041");
             EXPECT_EQ(cameras[1]["serial"], "5220077");
             const std::string xml = ReadText(junit);
             EXPECT_NE(xml.find("failures=\"1\""), std::string::npos) << xml;
             EXPECT_NE(xml.find("<failure message=\"" + refused + "\" type=\"replaced\">"),
                       std::string::npos)
                 << xml;
         }},
        {"replaced camera in the text", line, {{"--all", "diff", golden}}, 1, "", [] {}},
        {"report onto the compared file through a link",
         line,
         {{"--camera", "good", "diff", golden, "--report", dir + "/link.json"}},
         2,
         "diff: --report " + dir + "/link.json is the settings file it compares (" + golden + ")",
         unchanged(line)},
        {"JUnit onto the inventory",
         line,
         {{"--camera", "good", "diff", golden, "--junit", inventory}},
         2,
         "diff: --junit " + inventory + " is the inventory",
         unchanged(line)},
        {"both onto one file",
         line,
         {{"--port", good, "diff", golden, "--report", report, "--junit", dir + "/./r.json"}},
         2,
         "diff: --report and --junit name the same file",
         unchanged(line)},
        {"read-only report",
         line,
         {{"--port", good, "diff", golden, "--report", dir + "/approved.json"}},
         1,
         "error: " + dir + "/approved.json is read-only: not replaced (--force replaces it)",
         [&] { EXPECT_EQ(ReadText(dir + "/approved.json"), "kept"); }},
        {"read-only report with --force",
         line,
         {{"--port", good, "diff", golden, "--report", dir + "/approved.json", "--force"}},
         0,
         "",
         [&] { EXPECT_EQ(Json::parse(ReadText(dir + "/approved.json"))["file"], golden); }},
        {"dotted-key entry",
         dotted,
         {{"--camera", "cam2", "--accept-replacement", "write", "6A", "05"}},
         0,
         inventory + " now gives serial 5220077",
         [&] {
             EXPECT_EQ(ReadInventory(), "cameras.cam2.port = \"" + swapped +
                                            "\"  # left\ncameras.cam2.serial = \"5220077\"\n"
                                            "cameras.cam2.model = \"RVQM52BM14\"\n");
             EXPECT_EQ(Run({"--camera", "cam2", "read", "6A"}).out, "05\n");
         }},
        {"seven acceptances at once", seven, acceptAll, 0, "now gives serial",
         [&] { EXPECT_EQ(ReadInventory(), sevenAccepted); }},
        {"refused load",
         line,
         {{"--camera", "cam2", "--accept-replacement", "load", monoFile}},
         1,
         "not accepted, the command failed",
         unchanged(line)},
        {"failed change",
         line,
         {{"--camera", "cam2", "--accept-replacement", "call", "auto", "LoadBankMemory", "9"}},
         1,
         "error 4: Invalid parameter",
         unchanged(line)},
        {"Camera Link index beyond the grabber",
         line + "[cameras.grab9]\nport = \"cl:9\"\n",
         {{"--all", "identify"}},
         2,
         "error: " + inventory + ": grab9: cl:9: the Camera Link library has 2 ports",
         [] {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rule);
        WriteInventory(c.inventory);
        std::ofstream(dir + "/approved.json") << "kept";
        ::chmod((dir + "/approved.json").c_str(), 0444);
        std::vector<std::future<ProcessResult>> started;
        for (const auto& args : c.runs)
            started.push_back(std::async(std::launch::async, [this, args] { return Run(args); }));
        for (auto& run : started) {
            const ProcessResult result = run.get();
            EXPECT_EQ(result.exitStatus, c.exitStatus) << result.out << result.err;
            EXPECT_NE(result.err.find(c.err), std::string::npos) << result.err;
            if (std::string(c.rule).find("replaced camera") == 0) {
                EXPECT_NE(result.out.find("failed: " + refused), std::string::npos) << result.out;
            }
        }
        c.check();
        ::chmod((dir + "/approved.json").c_str(), 0644);
    }
}
