// VireoStudio's --version and --help, and the arguments start-up is left to ignore.
#include "app/CommandLine.h"
#include "tests/support/Process.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testing_support;

namespace {

const std::string kVersion = "VireoStudio " VIREO_VERSION "\n";

std::optional<std::string> Answer(std::vector<const char*> args)
{
    args.insert(args.begin(), "VireoStudio");
    return InfoSwitchAnswer(static_cast<int>(args.size()), args.data());
}

bool IsHelp(const std::optional<std::string>& answer)
{
    return answer && answer->rfind("usage: VireoStudio ", 0) == 0;
}

TEST(CommandLine, OnlyVersionAndHelpAreAnsweredTheFirstOfThemWins)
{
    // Everything else, the framework's switches, Qt's options and the unknown, starts the program.
    for (const std::vector<const char*>& args : std::vector<std::vector<const char*>>{
             {},
             {"-Embedding"},
             {"/Automation"},
             {"-platform", "offscreen"},
             {"--unknown", "file.txt", "-h", "-version", "--Version", "version"}}) {
        SCOPED_TRACE(testing::PrintToString(args));
        EXPECT_FALSE(Answer(args).has_value());
    }
    EXPECT_EQ(Answer({"--version"}), kVersion);
    EXPECT_EQ(Answer({"-platform", "offscreen", "/Embedding", "--version"}), kVersion);
    EXPECT_EQ(Answer({"--version", "--help"}), kVersion);
    EXPECT_TRUE(IsHelp(Answer({"--help"})));
    EXPECT_TRUE(IsHelp(Answer({"--unknown", "--help", "--version"})));
}

TEST(CommandLine, HelpNamesTheSwitchesTheLibraryVariableAndTheSettingsFile)
{
    const auto help = Answer({"--help"});
    ASSERT_TRUE(help);
    for (const char* item : {"--version", "-Embedding", "-Automation", "CLALLSERIAL_LIBRARY",
                             "KORVALIS CORPORATION/VireoStudio.conf"})
        EXPECT_NE(help->find(item), std::string::npos) << item;
}

TEST(CommandLine, TheProgramAnswersWithoutAWindowSystem)
{
    // A platform that does not exist: the program would abort if it started Qt's GUI.
    for (const char* option : {"--version", "--help"}) {
        const auto run = RunProcess({VIREOSTUDIO_PATH, "-Embedding", option},
                                    {"QT_QPA_PLATFORM=no-such-platform", "DISPLAY="});
        SCOPED_TRACE(option);
        EXPECT_EQ(run.exitStatus, 0);
        EXPECT_EQ(run.err, "");
        EXPECT_EQ(run.out, *Answer({option}));
    }
}

} // namespace
