// vireoctl --help and --version: answered on standard output with status 0, wherever they stand,
// before any setting is read or port is opened.
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace testing_support;

namespace {

bool StartsWith(const std::string& text, const std::string& prefix)
{
    return text.compare(0, prefix.size(), prefix) == 0;
}

TEST(VireoctlInfo, HelpAndVersionWhereverTheyStand)
{
    const std::string version = "vireoctl " VIREO_VERSION "\n";
    struct Case {
        std::vector<std::string> args;
        bool help; // else the version
    };
    // No Camera Link library and no device exists here: a command that ran would fail.
    const std::vector<Case> cases{
        {{"--version"}, false},
        {{"--help"}, true},
        {{"--cl", "0", "--help"}, true},
        {{"--port", "/nonexistent/tty", "read", "20", "--version"}, false},
        {{"--version", "--help"}, false},
        {{"--help", "--version"}, true},
        {{"call", "RV1240DLX", "--help"}, true},
    };
    ScopedSettingsDir config;
    for (const Case& c : cases) {
        std::vector<std::string> argv{VIREOCTL_PATH};
        argv.insert(argv.end(), c.args.begin(), c.args.end());
        const auto run = RunProcess(argv, {"XDG_CONFIG_HOME=" + config.Path(),
                                           "CLALLSERIAL_LIBRARY=/nonexistent/libcl.so"});
        SCOPED_TRACE(testing::PrintToString(c.args));
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.err, "");
        if (c.help) {
            EXPECT_TRUE(StartsWith(run.out, "usage: vireoctl ")) << run.out;
            for (const char* item :
                 {"read ADDR", "write ADDR VALUE", "ops MODEL", "call MODEL OPERATION", "ports",
                  "--port NAME", "--cl INDEX", "--baud N", "--timeout MS", "--log", "Exit status"})
                EXPECT_NE(run.out.find(item), std::string::npos) << item;
        } else {
            EXPECT_EQ(run.out, version);
        }
    }
}

TEST(VireoctlInfo, ABadCommandLineStillGetsTheUsageOnStandardError)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{}, {"--bogus"}, {"-help"}, {"version"}}) {
        std::vector<std::string> argv{VIREOCTL_PATH};
        argv.insert(argv.end(), args.begin(), args.end());
        const auto run = RunProcess(argv);
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_EQ(run.exitStatus, 2);
        EXPECT_EQ(run.out, "");
        // One line naming the fault, then the usage.
        const auto lines = Lines(run.err);
        ASSERT_GE(lines.size(), 2u) << run.err;
        EXPECT_FALSE(lines[0].empty());
        EXPECT_TRUE(StartsWith(lines[1], "usage: vireoctl ")) << run.err;
    }
}

} // namespace
