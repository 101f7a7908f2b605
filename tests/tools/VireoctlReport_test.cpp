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
#include <functional>
#include <sstream>

using namespace testing_support;
using Json = nlohmann::json;

namespace {

constexpr const char* kTimeoutMs = "1000";

class VireoctlReport : public ::testing::Test {
protected:
    void SetUp() override { dir = MakeTempDir("vireoctl-report"); }
    void TearDown() override { RemoveTree(dir); }

    std::string Start(std::vector<std::string> options)
    {
        std::vector<std::string> argv{CAMSIM_PATH};
        argv.insert(argv.end(), options.begin(), options.end());
        cameras.push_back(std::make_unique<BackgroundProcess>(argv));
        const std::string port = cameras.back()->FirstLine();
        EXPECT_FALSE(port.empty());
        return port;
    }

    ProcessResult Run(std::vector<std::string> args)
    {
        std::vector<std::string> argv{VIREOCTL_PATH, "--timeout", kTimeoutMs};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProcess(argv, {"XDG_CONFIG_HOME=" + config.Path()});
    }

    ScopedSettingsDir config;
    std::string dir;
    std::vector<std::unique_ptr<BackgroundProcess>> cameras;
};

std::string ReadText(const std::string& path)
{
    std::ostringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

// The JUnit file's counts and, per test case, "ok", "failure: TEXT" or "error: TEXT".
struct JUnit {
    std::map<std::string, std::string> counts; // of the testsuite
    std::map<std::string, std::string> cases;
};

JUnit ParseJUnit(const std::string& path)
{
    JUnit junit;
    QFile file(QString::fromStdString(path));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&file);
    std::string current;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        const QString name = xml.name().toString();
        const auto attribute = [&xml](const char* key) {
            return xml.attributes().value(QString::fromLatin1(key)).toString().toStdString();
        };
        if (name == "testsuite")
            for (const char* key : {"tests", "failures", "errors"})
                junit.counts[key] = attribute(key);
        if (name == "testcase") {
            current = attribute("name");
            junit.cases[current] = "ok";
        }
        if (name == "failure" || name == "error")
            junit.cases[current] = name.toStdString() + ": " + xml.readElementText().toStdString();
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return junit;
}

} // namespace

// Two runs on unchanged cameras hash their settings alike; a changed setting changes the hash
// and is named in both files; a silent camera fails in both; an unwritable report is an error.
TEST_F(VireoctlReport, DiffReportAndJUnitFileEachCamera)
{
    const std::string a = Start({"--model", "RVQM52CM14"});
    const std::string b = Start({"--model", "RVQM52CM14", "--serial", "5220077"});
    const std::string silent = Start({"--model", "RVQM52CM14", "--fault", "silent"});
    const std::string file = dir + "/approved.json";
    ASSERT_EQ(Run({"--port", a, "save", "auto", file}).exitStatus, 0);

    struct Step {
        std::vector<std::string> ports;
        std::vector<std::string> before; // a command run first
        int exitStatus;
        std::vector<std::string> results; // per camera
    };
    const std::vector<Step> steps{
        {{a, b}, {}, 0, {"match", "match"}},
        {{a, b}, {}, 0, {"match", "match"}},
        {{a, b, silent},
         {"--port", b, "call", "RVQM52CM14", "SetRGain", "100"},
         1,
         {"match", "differs", "failed: error 256: RS232C Timeout"}},
    };
    std::vector<Json> reports;
    for (std::size_t n = 0; n < steps.size(); ++n) {
        const Step& step = steps[n];
        SCOPED_TRACE(n);
        if (!step.before.empty()) {
            ASSERT_EQ(Run(step.before).exitStatus, 0);
        }
        std::vector<std::string> args;
        for (const std::string& port : step.ports)
            args.insert(args.end(), {"--port", port});
        const std::string report = dir + "/verify" + std::to_string(n) + ".json";
        const std::string junit = dir + "/verify" + std::to_string(n) + ".xml";
        args.insert(args.end(), {"diff", file, "--report", report, "--junit", junit});
        const auto run = Run(args);
        EXPECT_EQ(run.exitStatus, step.exitStatus) << run.err;
        reports.push_back(Json::parse(ReadText(report)));
        const Json& doc = reports.back();
        EXPECT_EQ(doc["file"], file);
        EXPECT_EQ(doc["file_sha256"], Sha256Hex(ReadText(file)));
        ASSERT_EQ(doc["cameras"].size(), step.ports.size());
        const JUnit cases = ParseJUnit(junit);
        EXPECT_EQ(cases.counts.at("tests"), std::to_string(step.ports.size()));
        for (std::size_t i = 0; i < step.ports.size(); ++i) {
            const Json& camera = doc["cameras"][i];
            EXPECT_EQ(camera["port"], step.ports[i]);
            EXPECT_EQ(camera["result"], step.results[i]);
            const std::string verdict = cases.cases.at(step.ports[i]);
            EXPECT_EQ(verdict.substr(0, verdict.find(':')), step.results[i] == "match" ? "ok"
                                                            : step.results[i] == "differs"
                                                                ? "failure"
                                                                : "error");
        }
    }
    // Unchanged between the first two runs, b's hash moves with its gain.
    EXPECT_EQ(reports[0]["cameras"][0]["settings_sha256"],
              reports[1]["cameras"][0]["settings_sha256"]);
    EXPECT_EQ(reports[0]["cameras"][1]["settings_sha256"],
              reports[1]["cameras"][1]["settings_sha256"]);
    EXPECT_EQ(reports[0]["cameras"][0]["settings_sha256"],
              reports[2]["cameras"][0]["settings_sha256"]);
    EXPECT_NE(reports[1]["cameras"][1]["settings_sha256"],
              reports[2]["cameras"][1]["settings_sha256"]);
    EXPECT_EQ(reports[2]["cameras"][1]["serial"], "5220077");
    EXPECT_EQ(reports[2]["cameras"][1]["differences"],
              Json::parse(R"([{"setting": "RGain", "expected": 512, "actual": 100}])"));
    const JUnit last = ParseJUnit(dir + "/verify2.xml");
    EXPECT_EQ(last.counts.at("failures"), "1");
    EXPECT_EQ(last.counts.at("errors"), "1");
    EXPECT_EQ(last.cases.at(b), "failure: RGain: expected 512, camera 100\n");
    EXPECT_EQ(last.cases.at(silent), "error: error 256: RS232C Timeout");

    const auto unwritable = Run({"--port", a, "diff", file, "--report", dir + "/none/r.json"});
    EXPECT_EQ(unwritable.exitStatus, 1);
    EXPECT_NE(unwritable.err.find("error: "), std::string::npos) << unwritable.err;
}

// Each command's JSON document: per camera its name, port and result, and one fact of the
// command's own; --json with a command that has no JSON form is a bad command line.
TEST_F(VireoctlReport, JsonTakesThePlaceOfEachCommandsText)
{
    const std::string a = Start({"--model", "RVQM52CM14"});
    const std::string silent = Start({"--model", "RVQM52CM14", "--fault", "silent"});
    const std::string file = dir + "/approved.json";
    ASSERT_EQ(Run({"--port", a, "save", "auto", file}).exitStatus, 0);
    const std::string inventory = dir + "/cameras.toml";
    std::ofstream(inventory) << "[cameras.a]\nport = \"" << a
                             << "\"\nmodel = \"RVQM52CM14\"\n[cameras.quiet]\nport = \"" << silent
                             << "\"\n";

    using Check = std::function<void(const Json& camera)>;
    struct Case {
        std::vector<std::string> args;
        int exitStatus;
        std::vector<std::string> names;   // per camera
        std::vector<std::string> results; // per camera
        Check first;                      // on the first camera
    };
    const std::vector<Case> cases{
        {{"--port", a, "--port", silent, "--json", "identify"},
         1,
         {a, silent},
         {"ok", "failed"},
         [](const Json& camera) { EXPECT_EQ(camera["kind"], "RVQM52CM14"); }},
        {{"--inventory", inventory, "--json", "cameras"},
         1,
         {"a", "quiet"},
         {"ok", "failed"},
         [](const Json& camera) {
             EXPECT_EQ(camera["port_opens"], true);
             EXPECT_EQ(camera["serial"], "5220041");
         }},
        {{"--port", a, "--json", "diff", file},
         0,
         {a},
         {"match"},
         [](const Json& camera) { EXPECT_EQ(camera["differences"], Json::array()); }},
        {{"--port", a, "--port", silent, "--json", "load", file},
         1,
         {a, silent},
         {"ok", "failed"},
         [](const Json& camera) {
             EXPECT_EQ(camera["live_only"], true);
             EXPECT_EQ(camera["settings"].at(0)["result"], "ok");
         }},
        {{"--port", a, "--json", "save", "auto", dir + "/again.json"},
         0,
         {a},
         {"ok"},
         [this](const Json& camera) { EXPECT_EQ(camera["file"], dir + "/again.json"); }},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.args.back());
        const auto run = Run(test.args);
        EXPECT_EQ(run.exitStatus, test.exitStatus) << run.err;
        const Json doc = Json::parse(run.out);
        ASSERT_EQ(doc["cameras"].size(), test.names.size()) << run.out;
        for (std::size_t i = 0; i < test.names.size(); ++i) {
            EXPECT_EQ(doc["cameras"][i]["name"], test.names[i]);
            EXPECT_EQ(doc["cameras"][i]["result"], test.results[i]);
        }
        test.first(doc["cameras"][0]);
        if (test.names.size() > 1) {
            EXPECT_NE(doc["cameras"][1]["reason"].get<std::string>().find("Timeout"),
                      std::string::npos);
        }
    }

    const auto refused = Run({"--port", a, "--json", "read", "0"});
    EXPECT_EQ(refused.exitStatus, 2);
    EXPECT_EQ(refused.out, "");
}
