// The settings file: what a bad file is refused for, and the atomic write.
#include "platform/files/AtomicFile.h"
#include "camera/settings/SettingsFile.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <sys/stat.h>

namespace {

std::string File(const std::string& settings, const std::string& model = "RVQM52CM14",
                 const std::string& head = R"("format": "VireoStudio camera settings",
                                              "version": 1,)")
{
    return "{" + head + R"("model": ")" + model + R"(", "settings": {)" + settings + "}}";
}

std::vector<std::string> Entries(const std::string& dir)
{
    std::vector<std::string> names;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* entry = readdir(d))
            if (entry->d_name[0] != '.')
                names.emplace_back(entry->d_name);
        closedir(d);
    }
    return names;
}

std::string Contents(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

TEST(SettingsFile, BadFilesAreRefusedWithTheNameAndTheReason)
{
    struct Case {
        std::string text;
        std::string name;
        std::string reason; // a part of it
    };
    const std::string deep = std::string(100000, '[') + std::string(100000, ']');
    const std::vector<Case> cases{
        {"", "", "not JSON"},
        {"{\"format\": ", "", "not JSON"},
        {"[1, 2]", "", "no JSON object"},
        {deep, "", "nested too deeply"},
        {File("", "RVQM52CM14", R"("format": "other", "version": 1,)"), "format",
         "unknown format \"other\""},
        {File("", "RVQM52CM14", R"("version": 1,)"), "format", "missing"},
        {File("", "RVQM52CM14", R"("format": "VireoStudio camera settings", "version": 2,)"),
         "version", "unknown version 2"},
        {File("", "RVQM52CM14", R"("format": "VireoStudio camera settings", "version": "1",)"),
         "version", "wrong type"},
        {File("", "RV9999"), "model", "unknown model"},
        {File(R"("RGain": 1, "Colour": 2)"), "Colour", "unknown name for the RVQM52CM14"},
        // A value of another model is no value of this one.
        {File(R"("ShatterSpeed": 5)"), "ShatterSpeed", "unknown name"},
        {File(R"("RGain": "512")"), "RGain", "wrong type: an integer expected, not string"},
        {File(R"("RGain": 512.5)"), "RGain", "not a fractional number"},
        {File(R"("Gamma": true)"), "Gamma", "not boolean"},
        {File(R"("RGain": 1536)"), "RGain", "1536 is outside 0..1535"},
        {File(R"("OutLevelOffset": -1)"), "OutLevelOffset", "outside 0..31"},
        {File(R"("RGain": 99999999999999999999999)"), "RGain", "wrong type"},
        {File(R"("WbColorTemp": 50)"), "WbColorTemp", "not one of 30, 37, 40, 45, 55, 65, 255"},
        {File(R"("OutLevelOffset": 49)", "RVQM52BM14"), "OutLevelOffset", "outside 50..255"},
        {File(R"("RGain": 1, "RGain": 2)"), "RGain", "given more than once"},
        {R"({"format": "VireoStudio camera settings", "version": 1, "model": "RV1250LX"})",
         "settings", "missing"},
        {File("") + " trailing", "", "not JSON"},
    };
    for (const Case& c : cases) {
        SettingsFile file;
        file.saved = "untouched";
        FileProblem problem;
        EXPECT_FALSE(SettingsFromJson(c.text, file, problem)) << c.text.substr(0, 80);
        EXPECT_EQ(problem.name, c.name) << c.text.substr(0, 80);
        EXPECT_NE(problem.reason.find(c.reason), std::string::npos)
            << problem.reason << " / " << c.text.substr(0, 80);
        EXPECT_EQ(file.saved, "untouched");
    }
}

TEST(SettingsFile, WritesWhatItReadsAndAcceptsAPartialFile)
{
    SettingsFile file;
    file.model = CameraModel::RV1240DLX;
    file.camera = {"KORVALIS", "RV1240DLX", "4010237", "CPU Ver 1.12", ""};
    file.saved = "2024-05-17T09:30:00Z";
    file.values = {{"OutLevelOffset", -512}, {"BitInfo", 255}};
    const std::string text = SettingsToJson(file);
    // One value a line, readable and diff-friendly; no FPGA line for a model without one.
    EXPECT_NE(text.find("\n    \"OutLevelOffset\": -512,\n"), std::string::npos) << text;
    EXPECT_EQ(text.find("fpga"), std::string::npos);

    SettingsFile back;
    FileProblem problem;
    ASSERT_TRUE(SettingsFromJson(text, back, problem)) << problem.reason;
    EXPECT_EQ(back.model, file.model);
    EXPECT_EQ(back.values, file.values);
    EXPECT_EQ(back.camera.serial, "4010237");
    EXPECT_EQ(back.saved, file.saved);

    ASSERT_TRUE(SettingsFromJson(File(""), back, problem)) << problem.reason;
    EXPECT_TRUE(back.values.empty());
}

TEST(AtomicFile, ReplacesWholeOrNotAtAll)
{
    const std::string dir = testing_support::MakeTempDir("atomic");
    const std::string path = dir + "/cam.json";

    std::string error;
    ASSERT_TRUE(WriteFileAtomically(path, "first", error)) << error;
    chmod(path.c_str(), 0600);
    ASSERT_TRUE(WriteFileAtomically(path, "second", error)) << error;
    EXPECT_EQ(Contents(path), "second");
    struct stat info {};
    ASSERT_EQ(stat(path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u) << "a replaced file keeps its permissions";
    EXPECT_EQ(Entries(dir), std::vector<std::string>{"cam.json"}) << "no temporary file left";

    // A folder in the way is refused before anything is written: no trace and nothing lost.
    const std::string blocked = dir + "/blocked";
    ASSERT_EQ(mkdir(blocked.c_str(), 0700), 0);
    ASSERT_TRUE(WriteFileAtomically(blocked + "/inside", "kept", error));
    EXPECT_FALSE(WriteFileAtomically(blocked, "new", error));
    EXPECT_NE(error.find("is a folder"), std::string::npos) << error;
    EXPECT_EQ(Contents(blocked + "/inside"), "kept");
    EXPECT_FALSE(WriteFileAtomically(dir + "/missing/cam.json", "x", error));
    EXPECT_EQ(Entries(dir).size(), 2u);

    std::string read;
    EXPECT_TRUE(ReadSmallFile(path, 6, read, error));
    EXPECT_EQ(read, "second");
    EXPECT_FALSE(ReadSmallFile(path, 5, read, error));
    EXPECT_NE(error.find("larger than 5 bytes"), std::string::npos);
    EXPECT_FALSE(ReadSmallFile(dir, 100, read, error));

    testing_support::RemoveTree(dir);
}
