// What programs read from vireoctl: the verification files of "diff --report" and "--junit", and
// the JSON document "--json" prints in place of the text.
#include "camera/audit/Sha256.h"
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <QFile>
#include <QXmlStreamReader>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

using namespace testing_support;
using Json = nlohmann::json;

namespace {

class VireoctlReport : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = MakeTempDir("vireoctl-report");
        file = dir + "/approved.json";
        for (const char* fault : {"none", "none", "silent"}) {
            cameras.push_back(std::make_unique<CamsimProgram>(
                CAMSIM_PATH, std::vector<std::string>{"--model", "RVQM52CM14", "--fault", fault}));
            ports.push_back(cameras.back()->device);
        }
        ASSERT_EQ(Run({"--port", ports[0], "save", "auto", file}).exitStatus, 0);
    }
    void TearDown() override { RemoveTree(dir); }

    ProcessResult Run(std::vector<std::string> args)
    {
        args.insert(args.begin(), {VIREOCTL_PATH, "--timeout", "1000"});
        return RunProcess(args, {"XDG_CONFIG_HOME=" + config.Path()});
    }

    ScopedSettingsDir config;
    std::string dir;
    std::string file;
    std::vector<std::unique_ptr<CamsimProgram>> cameras;
    std::vector<std::string> ports; // two healthy cameras, then a silent one
};

std::string ReadText(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// Per test case "ok", "failure: TEXT" or "error: TEXT"; "counts" holds the suite's
// "TESTS FAILURES ERRORS".
std::map<std::string, std::string> ParseJUnit(const std::string& path)
{
    std::map<std::string, std::string> cases;
    QFile in(QString::fromStdString(path));
    EXPECT_TRUE(in.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&in);
    std::string current;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const auto attribute = [&xml](const char* key) {
            return xml.attributes().value(QString::fromLatin1(key)).toString().toStdString();
        };
        const std::string name = xml.name().toString().toStdString();
        if (name == "testsuite")
            cases["counts"] =
                attribute("tests") + " " + attribute("failures") + " " + attribute("errors");
        else if (name == "testcase")
            cases[current = attribute("name")] = "ok";
        else if (name == "failure" || name == "error")
            cases[current] = name + ": " + xml.readElementText().toStdString();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return cases;
}

} // namespace

// Two runs on unchanged cameras hash their settings alike; a changed setting changes the hash
// and is named in both files; a silent camera fails in both; an unwritable report is an error.
TEST_F(VireoctlReport, DiffReportAndJUnitFileEachCamera)
{
    const std::string& a = ports[0];
    const std::string& b = ports[1];
    const std::string& silent = ports[2];
    std::vector<Json> reports;
    for (int n = 0; n < 3; ++n) {
        SCOPED_TRACE(n);
        // The last run changes b and adds the silent camera.
        if (n == 2) {
            ASSERT_EQ(Run({"--port", b, "call", "RVQM52CM14", "SetRGain", "100"}).exitStatus, 0);
        }
        const std::string base = dir + "/verify" + std::to_string(n);
        std::vector<std::string> args{"--port", a, "--port", b};
        if (n == 2)
            args.insert(args.end(), {"--port", silent});
        args.insert(args.end(),
                    {"diff", file, "--report", base + ".json", "--junit", base + ".xml"});
        const auto run = Run(args);
        EXPECT_EQ(run.exitStatus, n == 2 ? 1 : 0) << run.err;
        reports.push_back(Json::parse(ReadText(base + ".json")));
        EXPECT_EQ(reports[n]["file"], file);
        EXPECT_EQ(reports[n]["file_sha256"], Sha256Hex(ReadText(file)));
        const auto junit = ParseJUnit(base + ".xml");
        EXPECT_EQ(junit.at("counts"), n == 2 ? "3 1 1" : "2 0 0");
        EXPECT_EQ(junit.at(a), "ok");
        EXPECT_EQ(junit.at(b), n < 2 ? "ok" : "failure: RGain: expected 512, camera 100\n");
        if (n == 2) {
            EXPECT_EQ(junit.at(silent), "error: error 256: RS232C Timeout");
        }
    }
    const auto camera = [&reports](int run, int index) { return reports[run]["cameras"][index]; };
    EXPECT_EQ(camera(2, 0)["result"], "match");
    EXPECT_EQ(camera(2, 1)["result"], "differs");
    EXPECT_EQ(camera(2, 2)["result"], "failed: error 256: RS232C Timeout");
    EXPECT_EQ(camera(2, 1)["port"], b);
    EXPECT_EQ(camera(2, 1)["serial"], "5220041");
    EXPECT_EQ(camera(2, 1)["differences"],
              Json::parse(R"([{"setting": "RGain", "expected": 512, "actual": 100}])"));
    // Unchanged, a camera hashes alike on every run; b's hash moves with its gain.
    EXPECT_EQ(camera(0, 0)["settings_sha256"], camera(2, 0)["settings_sha256"]);
    EXPECT_EQ(camera(0, 1)["settings_sha256"], camera(1, 1)["settings_sha256"]);
    EXPECT_NE(camera(1, 1)["settings_sha256"], camera(2, 1)["settings_sha256"]);

    const auto unwritable = Run({"--port", a, "diff", file, "--report", dir + "/none/r.json"});
    EXPECT_EQ(unwritable.exitStatus, 1);
    EXPECT_EQ(unwritable.err.rfind("error: ", 0), 0u) << unwritable.err;
}

// Each command's JSON document: per camera its name and result, and a fact of the command's
// own; --json with a command that has no JSON form is a bad command line.
TEST_F(VireoctlReport, JsonTakesThePlaceOfEachCommandsText)
{
    const std::string& a = ports[0];
    const std::string inventory = dir + "/cameras.toml";
    std::ofstream(inventory) << "[cameras.a]\nport = \"" << a << "\"\n[cameras.quiet]\nport = \""
                             << ports[2] << "\"\n";
    struct Case {
        std::vector<std::string> args; // after --json
        int exitStatus;
        std::vector<std::string> nameAndResult; // per camera
        std::string fact;                       // a pointer into the first camera
        Json value;
    };
    const std::vector<Case> cases{
        {{"identify"}, 1, {a, "ok", ports[2], "failed"}, "/kind", "RVQM52CM14"},
        {{"cameras"}, 1, {"a", "ok", "quiet", "failed"}, "/serial", "5220041"},
        {{"diff", file}, 0, {a, "match"}, "/differences", Json::array()},
        {{"load", file}, 1, {a, "ok", ports[2], "failed"}, "/settings/0/result", "ok"},
        {{"save", "auto", dir + "/again.json"}, 0, {a, "ok"}, "/file", dir + "/again.json"},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.args.front());
        std::vector<std::string> args;
        for (std::size_t i = 0; i < test.nameAndResult.size() && test.args[0] != "cameras"; i += 2)
            args.insert(args.end(), {"--port", test.nameAndResult[i]});
        args.insert(args.end(), {"--inventory", inventory, "--json"});
        args.insert(args.end(), test.args.begin(), test.args.end());
        const auto run = Run(args);
        EXPECT_EQ(run.exitStatus, test.exitStatus) << run.err;
        const Json list = Json::parse(run.out)["cameras"];
        ASSERT_EQ(list.size() * 2, test.nameAndResult.size()) << run.out;
        for (std::size_t i = 0; i < list.size(); ++i) {
            EXPECT_EQ(list[i]["name"], test.nameAndResult[2 * i]);
            EXPECT_EQ(list[i]["result"], test.nameAndResult[2 * i + 1]);
        }
        EXPECT_EQ(list[0].value(Json::json_pointer(test.fact), Json()), test.value) << run.out;
    }
    const auto refused = Run({"--port", a, "--json", "read", "0"});
    EXPECT_EQ(refused.exitStatus, 2);
    EXPECT_EQ(refused.out, "");
}
