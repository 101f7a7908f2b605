// Every named operation of every model: it binds its arguments, runs against the simulated
// camera of that model, and writes the sequence log it should. Setters read back through their
// getters; the vireoctl program lists and calls the same operations.
#include "tests/camera/CamsimLink.h"
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"
#include "tools/vireoctl/NamedOps.h"

#include <gtest/gtest.h>

#include <set>
#include <sstream>

using namespace testing_support;
using vireoctl::MapKind;

namespace {

struct ModelCase {
    const char* name;
    camsim::Model model;
    MapKind kind;
};

void PrintTo(const ModelCase& c, std::ostream* out)
{
    *out << c.name;
}

const ModelCase kModels[] = {
    {"RV1240DLX", camsim::Model::RV1240DLX, MapKind::RV1240},
    {"RV1250LX", camsim::Model::RV1250LX, MapKind::RV1250},
    {"RVQM52BM14", camsim::Model::RVQM52BM14, MapKind::RVQM52},
    {"RVQM52CM14", camsim::Model::RVQM52CM14, MapKind::RVQM52},
};

// Operations that exchange frames without a sequence-log line of their own.
const std::set<std::string> kSilent{"GetModelType", "GetRegister", "SetRegister"};

class NamedOps : public ::testing::TestWithParam<ModelCase> {};

} // namespace

TEST_P(NamedOps, EveryOperationRunsAndLogsOneLine)
{
    const ModelCase& c = GetParam();
    camsim::Camera camera(c.model);
    CamsimLink link(camera);
    LogRecorder log;
    const auto map = vireoctl::MakeMap(c.kind, &link);
    std::set<std::string> names;
    for (const vireoctl::NamedOp& op : vireoctl::OperationsOf(c.kind)) {
        SCOPED_TRACE(op.name);
        EXPECT_TRUE(names.insert(op.name).second) << "listed twice";
        const std::vector<std::string> args(op.arity, "1");
        EXPECT_FALSE(op.bind(std::vector<std::string>(op.arity + 1, "1")))
            << "an extra argument is refused";
        const vireoctl::BoundOp run = op.bind(args);
        ASSERT_TRUE(run);
        log.Clear();
        std::vector<std::string> outputs;
        EXPECT_EQ(run(*map, outputs), 0);
        const bool isGetter = op.name.rfind("Get", 0) == 0;
        EXPECT_EQ(outputs.empty(), !isGetter) << "getters print, setters do not";
        EXPECT_EQ(log.Seq().size(), kSilent.count(op.name) ? 0u : 1u);
    }
    EXPECT_TRUE(vireoctl::FindOperation(c.kind, "GetShutterSpeed"));
    EXPECT_FALSE(vireoctl::FindOperation(c.kind, "Frobnicate"));
}

// A setter's value comes back through the getter of the same name: both use the same register
// and field.
TEST_P(NamedOps, SettersReadBackThroughTheirGetters)
{
    const ModelCase& c = GetParam();
    camsim::Camera camera(c.model);
    CamsimLink link(camera);
    const auto map = vireoctl::MakeMap(c.kind, &link);
    int pairs = 0;
    for (const vireoctl::NamedOp& setter : vireoctl::OperationsOf(c.kind)) {
        if (setter.name.rfind("Set", 0) != 0 || setter.arity != 1)
            continue;
        const vireoctl::NamedOp* getter =
            vireoctl::FindOperation(c.kind, "Get" + setter.name.substr(3));
        if (!getter)
            continue;
        SCOPED_TRACE(setter.name);
        ++pairs;
        for (const char* value : {"0", "1", "0"}) {
            std::vector<std::string> outputs;
            ASSERT_EQ(setter.bind({value})(*map, outputs), 0);
            ASSERT_EQ(getter->bind({})(*map, outputs), 0);
            EXPECT_EQ(outputs, std::vector<std::string>{value});
        }
    }
    EXPECT_GE(pairs, 10);
}

INSTANTIATE_TEST_SUITE_P(AllModels, NamedOps, ::testing::ValuesIn(kModels),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(NamedOpsArguments, IntegersByTheirParameterType)
{
    const auto* setOffset = vireoctl::FindOperation(MapKind::RV1240, "SetOffsetLevel");
    const auto* setPower = vireoctl::FindOperation(MapKind::RV1240, "SetPower");
    const auto* setName = vireoctl::FindOperation(MapKind::RV1240, "SetVenderName");
    ASSERT_TRUE(setOffset && setPower && setName);
    EXPECT_TRUE(setOffset->bind({"-512"}));
    EXPECT_TRUE(setOffset->bind({"0x1FF"}));
    EXPECT_FALSE(setOffset->bind({"40000"}));
    EXPECT_TRUE(setPower->bind({"255"}));
    EXPECT_TRUE(setPower->bind({"0xff"}));
    EXPECT_FALSE(setPower->bind({"256"}));
    EXPECT_FALSE(setPower->bind({"-1"})) << "no sign for an unsigned value";
    EXPECT_FALSE(setPower->bind({"12abc"}));
    EXPECT_FALSE(setPower->bind({"0x"}));
    EXPECT_FALSE(setPower->bind({""}));
    EXPECT_FALSE(setPower->bind({}));
    EXPECT_TRUE(setName->bind({"any text at all"}));
}

// The program itself: "ops" lists the table, "call" runs each listed name without a usage
// error and prints its outputs one per line.
TEST(VireoctlNamedOps, OpsListsAndCallRunsEveryOperation)
{
    ScopedSettingsDir config;
    const std::vector<std::string> env{"XDG_CONFIG_HOME=" + config.Path()};
    for (const ModelCase& c : kModels) {
        SCOPED_TRACE(c.name);
        const auto listed = RunProcess({VIREOCTL_PATH, "ops", c.name}, env);
        ASSERT_EQ(listed.exitStatus, 0);
        std::vector<std::string> expected;
        for (const auto& op : vireoctl::OperationsOf(c.kind))
            expected.push_back(op.name);
        EXPECT_EQ(Lines(listed.out), expected);
    }

    for (const ModelCase& c : kModels) {
        BackgroundProcess camsim({CAMSIM_PATH, "--model", c.name});
        const std::string port = camsim.FirstLine();
        ASSERT_FALSE(port.empty());
        for (const auto& op : vireoctl::OperationsOf(c.kind)) {
            SCOPED_TRACE(std::string(c.name) + " " + op.name);
            std::vector<std::string> argv{VIREOCTL_PATH, "--port", port, "call", c.name, op.name};
            argv.insert(argv.end(), op.arity, "1");
            const auto run = RunProcess(argv, env);
            EXPECT_EQ(run.exitStatus, 0) << run.err;
            EXPECT_EQ(run.out.empty(), op.name.rfind("Get", 0) != 0) << run.out;
        }
    }
}

TEST(VireoctlNamedOps, CallOutputsUsageAndFailures)
{
    ScopedSettingsDir config;
    const std::vector<std::string> env{"XDG_CONFIG_HOME=" + config.Path()};
    BackgroundProcess camsim({CAMSIM_PATH, "--model", "RV1240DLX"});
    const std::string port = camsim.FirstLine();
    ASSERT_FALSE(port.empty());
    auto call = [&](std::vector<std::string> args, std::vector<std::string> options = {}) {
        std::vector<std::string> argv{VIREOCTL_PATH, "--port", port};
        argv.insert(argv.end(), options.begin(), options.end());
        argv.push_back("call");
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProcess(argv, env);
    };

    auto run = call({"RV1240DLX", "SetOffsetLevel", "-3"});
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(run.out, "");
    run = call({"RV1240DLX", "GetOffsetLevel"}, {"--log"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_EQ(run.out, "-3\n");
    const auto err = Lines(run.err);
    EXPECT_NE(std::find(err.begin(), err.end(),
                        "\tGet Offset, \tRead  Offset/Gain High \tRead  Offset/Gain Low Done."),
              err.end())
        << run.err;

    EXPECT_EQ(call({"RV1240DLX", "SetRegister", "0x40", "0x81"}).exitStatus, 0);
    run = call({"RV1240DLX", "GetErrorModeBits"});
    EXPECT_EQ(run.out, "1\n0\n0\n0\n0\n0\n0\n1\n");

    run = call({"RV1240DLX", "GetVenderName"});
    EXPECT_EQ(run.exitStatus, 0);
    EXPECT_FALSE(run.out.empty());

    // A refused argument: result 2, the error line, nothing on standard output.
    run = call({"RV1240DLX", "SetShutter", "2"});
    EXPECT_EQ(run.exitStatus, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "error 2: Camera replies invalid data \n");

    for (const std::vector<std::string>& bad : {std::vector<std::string>{"RV9", "GetPower"},
                                                {"RV1240DLX", "Frobnicate"},
                                                {"RV1240DLX", "GetPower", "1"},
                                                {"RV1240DLX", "SetPower"},
                                                {"RV1240DLX", "SetPower", "300"},
                                                {"RV1250LX", "GetPower"},
                                                {"RV1240DLX"}}) {
        run = call(bad);
        EXPECT_EQ(run.exitStatus, 2) << bad.back();
        EXPECT_EQ(run.out, "");
    }
    // The usage check comes before the port is opened.
    run = RunProcess({VIREOCTL_PATH, "--port", "/nonexistent/port", "call", "RV1240DLX", "Nope"},
                     env);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(RunProcess({VIREOCTL_PATH, "ops", "RV9"}, env).exitStatus, 2);
}
