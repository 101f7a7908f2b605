// After every command that changes a camera, whatever goes wrong on the way (a refusal, a camera
// that falls silent, one that stalls and resumes, a port that is lost, a signal, a trail that
// cannot be written), an independent read of the camera, the command's result (its exit status
// and --json) and the audit trail say the same thing.
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <sstream>

#include <signal.h>

using namespace testing_support;
using Json = nlohmann::json;

namespace {

enum class Path { Write, Setter, Bank, Script, Load, LoadNoRollback };
enum class Fault { Refusal, Silence, Stall, PortLost, Signal, Unwritable };

const char* const kModel = "RV1240DLX";

// Every register the paths write, and the settings registers around them.
std::vector<int> Window()
{
    std::vector<int> registers{0x51, 0x150, 0x151};
    for (int address = 0x60; address < 0xA0; ++address)
        registers.push_back(address);
    return registers;
}

std::string Hex(int value)
{
    std::ostringstream text;
    text << std::hex << std::uppercase << value;
    return text.str();
}

struct PathCase {
    Path path;
    std::vector<std::string> args; // after the options; FILE stands for the path's input file
    int refused;                   // the register a refusing camera will not take
    double faultAt;                // seconds after the start: about when the writes go out
};

const PathCase kPaths[] = {
    {Path::Write, {"write", "150", "77"}, 0x150, 0.25},
    {Path::Setter, {"call", kModel, "SetOffsetLevel", "-12"}, 0x63, 0.25},
    {Path::Bank, {"call", kModel, "SaveBankMemory", "1"}, 0x51, 0.25},
    {Path::Script, {"script", "FILE"}, 0x151, 0.3},
    {Path::Load, {"--json", "load", "FILE"}, 0x6A, 0.5},
    {Path::LoadNoRollback, {"--json", "load", "FILE", "--no-rollback"}, 0x6A, 0.5},
};

class VireoctlAgreement : public ::testing::Test {
protected:
    void SetUp() override { dir = MakeTempDir("vireoctl-agree"); }
    void TearDown() override { RemoveTree(dir); }

    std::unique_ptr<CamsimProgram> StartCamera(std::vector<std::string> extra = {})
    {
        std::vector<std::string> options{"--model", kModel, "--baud", "9600"};
        options.insert(options.end(), extra.begin(), extra.end());
        auto camera = std::make_unique<CamsimProgram>(CAMSIM_PATH, options);
        EXPECT_FALSE(camera->device.empty());
        return camera;
    }

    std::vector<std::string> Command(const std::string& port, const std::string& audit,
                                     std::vector<std::string> args) const
    {
        std::vector<std::string> argv{VIREOCTL_PATH, "--timeout", "1000", "--port", port};
        if (audit.empty()) {
            argv.push_back("--no-audit");
        } else {
            argv.push_back("--audit");
            argv.push_back(audit);
        }
        argv.insert(argv.end(), args.begin(), args.end());
        return argv;
    }

    // The window's registers, read by a run of its own that records nothing.
    std::map<int, int> Registers(const std::string& port)
    {
        std::ofstream(dir + "/reads.txt") << [] {
            std::string lines;
            for (const int address : Window())
                lines += "read " + Hex(address) + "\n";
            return lines;
        }();
        const ProcessResult read =
            RunProcess(Command(port, {}, {"script", dir + "/reads.txt"}), Env());
        std::map<int, int> values;
        const std::vector<std::string> lines = Lines(read.out);
        EXPECT_EQ(read.exitStatus, 0) << read.err;
        for (std::size_t i = 0; i < lines.size() && i < Window().size(); ++i)
            values[Window()[i]] = std::stoi(lines[i], nullptr, 16);
        return values;
    }

    std::map<std::string, int> Settings(const std::string& port)
    {
        const ProcessResult saved = RunProcess(Command(port, {}, {"save", kModel, "-"}), Env());
        EXPECT_EQ(saved.exitStatus, 0) << saved.err;
        std::map<std::string, int> values;
        const Json file = saved.exitStatus == 0 ? Json::parse(saved.out) : Json::object();
        if (file.contains("settings"))
            for (const auto& [name, value] : file["settings"].items())
                values[name] = value.get<int>();
        return values;
    }

    std::vector<std::string> Env() const { return {"XDG_CONFIG_HOME=" + config.Path()}; }

    // The path's input: a script of three changes, or a settings file whose every value differs
    // from the camera's own.
    void WriteInputs()
    {
        std::ofstream(dir + "/changes.txt")
            << "write 150 11\ncall " << kModel << " SetOffsetLevel -20\nwrite 151 22\n";
        const auto source = StartCamera();
        const ProcessResult saved =
            RunProcess(Command(source->device, {}, {"save", kModel, "-"}), Env());
        ASSERT_EQ(saved.exitStatus, 0) << saved.err;
        Json file = Json::parse(saved.out);
        file["settings"] = {{"OutLevelOffset", 10}, {"OutLevelGain", 200}, {"ShatterMd1", 1},
                            {"ShatterSpeed", 5},    {"Trigger1", 1},       {"Trigger2", 1},
                            {"SubSampling", 1},     {"WindowEnable", 1},   {"BitInfo", 2}};
        std::ofstream(dir + "/new.json") << file.dump(2);
    }

    std::vector<std::string> Args(const PathCase& path) const
    {
        std::vector<std::string> args = path.args;
        for (std::string& arg : args)
            if (arg == "FILE")
                arg = dir + (path.path == Path::Script ? "/changes.txt" : "/new.json");
        return args;
    }

    // What the path leaves on a healthy camera: what a faulty run may leave besides the old.
    std::map<int, int> Reference(const PathCase& path)
    {
        const auto camera = StartCamera();
        const ProcessResult run =
            RunProcess(Command(camera->device, dir + "/ref.jsonl", Args(path)), Env());
        EXPECT_EQ(run.exitStatus, 0) << run.err;
        return Registers(camera->device);
    }

    std::vector<Json> Trail(const std::string& path) const
    {
        std::ifstream in(path);
        std::vector<Json> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(Json::parse(line));
        return lines;
    }

    void CheckPath(const PathCase& path);

    ScopedSettingsDir config;
    std::string dir;
};

// The registers a trail line says it wrote, with the value it says each holds after (null when
// it does not know).
std::map<int, Json> RegistersOf(const Json& line)
{
    std::map<int, Json> written;
    if (line.contains("register"))
        written[line["register"].get<int>()] = line["after"];
    if (line.contains("registers"))
        for (const Json& entry : line["registers"])
            written[entry["register"].get<int>()] = entry["after"];
    return written;
}

bool IsLoad(Path path)
{
    return path == Path::Load || path == Path::LoadNoRollback;
}

void VireoctlAgreement::CheckPath(const PathCase& path)
{
    WriteInputs();
    const std::map<int, int> reference = Reference(path);
    const Fault faults[] = {Fault::Refusal,  Fault::Silence, Fault::Stall,
                            Fault::PortLost, Fault::Signal,  Fault::Unwritable};
    for (const Fault fault : faults) {
        SCOPED_TRACE("fault " + std::to_string(static_cast<int>(fault)));
        const auto camera = StartCamera(
            fault == Fault::Refusal ? std::vector<std::string>{"--refuse", Hex(path.refused)}
                                    : std::vector<std::string>{});
        const std::string port = camera->device;
        const std::map<int, int> before = Registers(port);
        const std::map<std::string, int> settingsBefore = Settings(port);
        ASSERT_EQ(before.size(), Window().size());
        ASSERT_EQ(reference.size(), Window().size());
        ASSERT_FALSE(settingsBefore.empty());
        const std::string trail =
            fault == Fault::Unwritable ? dir + "/new.json/audit.jsonl" : dir + "/audit.jsonl";
        std::remove(trail.c_str());

        // The command runs in the background while the fault is made from outside.
        const std::string pid = std::to_string(camera->process.Pid());
        const std::string at = std::to_string(path.faultAt);
        const std::map<Fault, std::string> actions{
            {Fault::Refusal, ":"},
            {Fault::Silence, "sleep " + at + "; kill -STOP " + pid},
            {Fault::Stall,
             "sleep " + at + "; kill -STOP " + pid + "; sleep 1.3; kill -CONT " + pid},
            {Fault::PortLost, "sleep " + at + "; kill -KILL " + pid},
            {Fault::Signal, "sleep " + at + "; kill -INT $p"},
            {Fault::Unwritable, ":"}};
        std::vector<std::string> argv{"/bin/sh", "-c",
                                      "\"$@\" >\"$OUT\" 2>\"$ERR\" & p=$!; " + actions.at(fault) +
                                          "; wait $p; s=$?; kill -CONT " + pid +
                                          " 2>/dev/null; exit $s",
                                      "sh"};
        for (const std::string& arg : Command(port, trail, Args(path)))
            argv.push_back(arg);
        std::vector<std::string> env = Env();
        env.push_back("OUT=" + dir + "/out");
        env.push_back("ERR=" + dir + "/err");
        const ProcessResult run = RunProcess(argv, env, 60);
        std::ifstream outFile(dir + "/out"), errFile(dir + "/err");
        const std::string out((std::istreambuf_iterator<char>(outFile)), {});
        const std::string err((std::istreambuf_iterator<char>(errFile)), {});
        SCOPED_TRACE("status " + std::to_string(run.exitStatus) + "\n" + out + err);
        const std::vector<Json> lines = Trail(trail);

        if (fault == Fault::PortLost) {
            // Nothing can be read back; what the run claims, its trail must say too.
            if (run.exitStatus == 0) {
                EXPECT_FALSE(lines.empty());
            }
            if (IsLoad(path.path) && !out.empty() &&
                Json::parse(out)["cameras"][0].value("rolled_back", false)) {
                for (const Json& line : lines)
                    EXPECT_EQ(line["result"].get<std::string>().rfind("rolled back", 0), 0u);
            }
            continue;
        }
        // A camera that was stopped answers its queued requests now; then it is read back.
        const std::map<int, int> after = Registers(port);
        const std::map<std::string, int> settingsAfter = Settings(port);
        ASSERT_EQ(after.size(), Window().size());
        ASSERT_EQ(settingsAfter.size(), settingsBefore.size());

        for (const int address : Window()) {
            SCOPED_TRACE("register " + Hex(address));
            // Every register holds its old value or the one the command meant: never a third.
            EXPECT_TRUE(after.at(address) == before.at(address) ||
                        after.at(address) == reference.at(address))
                << after.at(address) << " (before " << before.at(address) << ", meant "
                << reference.at(address) << ")";
        }
        if (IsLoad(path.path)) {
            for (const auto& [name, value] : settingsAfter) {
                SCOPED_TRACE(name);
                const Json* last = nullptr;
                for (const Json& line : lines)
                    if (line.value("setting", "") == name)
                        last = &line;
                // A setting that changed is on record; what the record says it holds, it holds.
                if (value != settingsBefore.at(name) && fault != Fault::Unwritable) {
                    EXPECT_NE(last, nullptr);
                }
                if (last && !(*last)["after"].is_null()) {
                    EXPECT_EQ((*last)["after"].get<int>(), value);
                }
                if (last && (*last)["result"].get<std::string>().rfind("rolled back", 0) == 0) {
                    EXPECT_EQ(value, settingsBefore.at(name));
                }
            }
            if (!out.empty() && out[0] == '{') {
                const Json camera = Json::parse(out)["cameras"][0];
                if (camera.value("rolled_back", false)) {
                    EXPECT_EQ(settingsAfter, settingsBefore);
                }
                for (const Json& setting : camera.value("settings", Json::array()))
                    if (!setting["after"].is_null()) {
                        EXPECT_EQ(setting["after"].get<int>(),
                                  settingsAfter.at(setting["setting"].get<std::string>()))
                            << setting.dump();
                    }
            }
        } else {
            std::map<int, Json> recorded;
            for (const Json& line : lines)
                for (const auto& [address, value] : RegistersOf(line))
                    recorded[address] = value;
            for (const int address : Window()) {
                SCOPED_TRACE("register " + Hex(address));
                if (after.at(address) != before.at(address) && fault != Fault::Unwritable) {
                    EXPECT_TRUE(recorded.count(address)) << "changed without a record";
                }
                if (recorded.count(address) && !recorded[address].is_null() &&
                    recorded[address].is_number()) {
                    EXPECT_EQ(recorded[address].get<int>(), after.at(address));
                }
            }
        }
        // Success is claimed only for a camera that holds what was meant; a trail that could
        // not be written is told by its own status.
        if (run.exitStatus == 0 || run.exitStatus == 4) {
            EXPECT_EQ(after, reference);
            EXPECT_EQ(run.exitStatus == 4, fault == Fault::Unwritable);
        }
        if (fault == Fault::Unwritable) {
            EXPECT_NE(run.exitStatus, 0);
        }
        if (fault == Fault::Signal) {
            EXPECT_TRUE(run.exitStatus == 130 || run.exitStatus == 0 || run.exitStatus == 4)
                << run.exitStatus;
        }
    }
}

} // namespace

TEST_F(VireoctlAgreement, Write)
{
    CheckPath(kPaths[0]);
}
TEST_F(VireoctlAgreement, SetterCall)
{
    CheckPath(kPaths[1]);
}
TEST_F(VireoctlAgreement, BankCall)
{
    CheckPath(kPaths[2]);
}
TEST_F(VireoctlAgreement, Script)
{
    CheckPath(kPaths[3]);
}
TEST_F(VireoctlAgreement, Load)
{
    CheckPath(kPaths[4]);
}
TEST_F(VireoctlAgreement, LoadWithoutRollback)
{
    CheckPath(kPaths[5]);
}
