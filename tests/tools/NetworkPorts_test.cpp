// vireoctl on the simulated camera served over the network by the system's ser2net, through
// RFC 2217 and a raw TCP socket, compared with the same commands on the device itself.
#include "platform/profile/Profile.h"
#include "platform/serial/PortName.h"
#include "tests/support/Process.h"
#include "tests/support/Ser2netServer.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <future>
#include <sstream>
#include <thread>

using namespace testing_support;

namespace {

std::vector<std::string> Words(const std::string& text)
{
    std::vector<std::string> words;
    std::istringstream in(text);
    for (std::string word; in >> word;)
        words.push_back(word.back() == ';' ? word.substr(0, word.size() - 1) : word);
    return words;
}

bool Contains(const std::vector<std::string>& lines, const std::string& line)
{
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class NetworkPorts : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (Ser2netServer::Program().empty())
            GTEST_SKIP() << "ser2net is not installed (apt-get install ser2net)";
        dir = MakeTempDir("vireo-network");
    }
    void TearDown() override
    {
        if (!dir.empty())
            RemoveTree(dir);
    }

    void Start(std::vector<std::string> options = {})
    {
        camsim = std::make_unique<CamsimProgram>(CAMSIM_PATH, options);
        device = camsim->device;
        ASSERT_FALSE(device.empty());
        StartServer();
    }

    void StartServer()
    {
        server = std::make_unique<Ser2netServer>();
        std::string failure;
        ASSERT_TRUE(server->Start(device, failure)) << failure;
    }

    ProcessResult Run(const std::string& port, std::vector<std::string> args)
    {
        // The server lets go of the device a moment after the last connection ended.
        if (server) {
            EXPECT_TRUE(server->WaitDeviceReleased());
        }
        std::vector<std::string> argv{VIREOCTL_PATH, "--port", port};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProcess(argv, {"XDG_CONFIG_HOME=" + config.Path()});
    }

    // The device's terminal settings, as stty shows them, while a request runs through the
    // server (the camera's delay holds the connection open): sampled until every wanted word
    // shows, or the request ended.
    std::vector<std::string> SttyDuring(std::future<ProcessResult>& running,
                                        const std::vector<std::string>& wanted)
    {
        std::vector<std::string> shown;
        while (running.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
            shown = Words(RunProcess({"/bin/stty", "-a", "-F", device}).out);
            if (std::all_of(wanted.begin(), wanted.end(),
                            [&](const std::string& word) { return Contains(shown, word); }))
                break;
        }
        return shown;
    }

    ScopedSettingsDir config;
    std::string dir;
    std::unique_ptr<CamsimProgram> camsim;
    std::unique_ptr<Ser2netServer> server; // ended before the camera
    std::string device;
};

} // namespace

TEST_F(NetworkPorts, SameAnswersAndRecordsAsOnTheDeviceItself)
{
    Start();
    const std::vector<std::vector<std::string>> commands{
        {"write", "150", "a5"},
        {"read", "150"},
        // Each logged write below finds the value it replaces the same in every run.
        {"write", "0x150", "7f"},
        {"read", "150"},
        {"read", "20"},
        {"read", "301"},
        {"write", "301", "1"},
        {"--log", "read", "150"},
        {"--log", "write", "150", "7f"},
        {"call", "RV1240DLX", "GetShutterSpeed"},
    };
    for (const auto& command : commands) {
        const std::string line = command.back() + " of " + command.front();
        const auto reference = Run(device, command);
        for (const std::string& url : {server->Rfc2217Url(), server->RawUrl()}) {
            SCOPED_TRACE(url + ": " + line);
            const auto result = Run(url, command);
            EXPECT_EQ(result.exitStatus, reference.exitStatus) << result.err;
            EXPECT_EQ(result.out, reference.out);
            if (command.front() != "--log") {
                EXPECT_EQ(result.err, reference.err);
                continue;
            }
            // The records are the device's, with the URL as the port name; a raw socket says
            // once that line settings do not reach the far end, and settles before its first
            // request (its server may hold a reply from an earlier connection).
            auto expected = Lines(reference.err);
            const auto open =
                std::find(expected.begin(), expected.end(), "STAT: Port open " + device + "\r");
            ASSERT_NE(open, expected.end()) << reference.err;
            *open = "STAT: Port open " + url + "\r";
            if (url.rfind("socket://", 0) == 0) {
                const auto opened =
                    expected.insert(open + 1, "STAT: Raw TCP port: line settings do not apply\r");
                const auto success = std::find(opened, expected.end(), "STAT: Port open Success\r");
                ASSERT_NE(success, expected.end());
                expected.insert(success + 1,
                                "STAT: Settle: dropping late replies until the line is quiet\r");
            }
            EXPECT_EQ(Lines(result.err), expected);
        }
    }
}

TEST_F(NetworkPorts, SettingsSaveAndLoadThroughRfc2217)
{
    Start({"--model", "RVQM52CM14"});
    const std::string url = server->Rfc2217Url();
    const std::string file = dir + "/cam.json";
    const auto save = Run(url, {"save", "auto", file});
    EXPECT_EQ(save.exitStatus, 0) << save.err;
    EXPECT_EQ(save.out, "Saved 18 settings of RVQM52CM14 to " + file + "\n");
    const auto before = Run(url, {"call", "auto", "GetRGain"});
    ASSERT_EQ(before.exitStatus, 0) << before.err;

    EXPECT_EQ(Run(url, {"call", "RVQM52CM14", "SetRGain", "100"}).exitStatus, 0);
    EXPECT_EQ(Run(device, {"call", "auto", "GetRGain"}).out, "100\n");

    const auto load = Run(url, {"load", file});
    EXPECT_EQ(load.exitStatus, 0) << load.err;
    EXPECT_EQ(load.out, "Loaded 18 settings of RVQM52CM14 from " + file +
                            " (live only: lost at power-off)\n");
    // The device itself holds what the load sent.
    EXPECT_EQ(Run(device, {"call", "auto", "GetRGain"}).out, before.out);
}

TEST_F(NetworkPorts, LineSettingsAreSetOnTheServedDevice)
{
    Start({"--delay", "1500"});
    struct Case {
        const char* baud;
        int parity;
        int byteSize;
        int stopBits;
        std::vector<std::string> shown; // stty words of the served device
    };
    // A pseudo-terminal keeps eight data bits and no parity whatever is asked; the baud rate
    // and the stop bits show.
    const Case cases[] = {
        {"19200", 0, 8, 0, {"19200", "-cstopb"}},
        {"4800", 2, 7, 2, {"4800", "cstopb"}},
        {"57600", 1, 8, 0, {"57600", "-cstopb"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.baud);
        profile::WriteProfileInt("Settings\\COMM Port", "Parity", c.parity);
        profile::WriteProfileInt("Settings\\COMM Port", "ByteSize", c.byteSize);
        profile::WriteProfileInt("Settings\\COMM Port", "StopBits", c.stopBits);
        ASSERT_TRUE(server->WaitDeviceReleased());
        auto running = std::async(std::launch::async, [&] {
            return Run(server->Rfc2217Url(), {"--baud", c.baud, "read", "20"});
        });
        const auto shown = SttyDuring(running, c.shown);
        for (const std::string& word : c.shown)
            EXPECT_TRUE(Contains(shown, word)) << word;
        const auto result = running.get();
        EXPECT_EQ(result.exitStatus, 0) << result.err;
        EXPECT_EQ(result.out, "34\n");
    }
}

TEST_F(NetworkPorts, AServerKilledDuringAWaitEndsItAndTheNextOpenConnectsAgain)
{
    Start({"--delay", "5000"});
    // A time-out far beyond the run's own limit: only the lost connection can end the wait.
    auto running = std::async(std::launch::async, [&] {
        return Run(server->Rfc2217Url(),
                   {"--baud", "19200", "--timeout", "60000", "--log", "read", "20"});
    });
    ASSERT_TRUE(Contains(SttyDuring(running, {"19200"}), "19200"));
    // The request follows the line settings at once; the camera holds its reply back.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    server->Kill();
    const auto result = running.get();
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "");
    const auto err = Lines(result.err);
    const auto sent = std::find(err.begin(), err.end(), "SEND: [STX]20RQ[ETX]");
    const auto lost =
        std::find(err.begin(), err.end(), "STAT: Port lost: connection closed by the server\r");
    EXPECT_NE(sent, err.end()) << result.err;
    EXPECT_NE(lost, err.end()) << result.err;
    EXPECT_LT(sent, lost);
    EXPECT_TRUE(Contains(err, "error 256: the port was lost: connection closed by the server"))
        << result.err;

    // The camera still answers the first request late; the same request again makes that
    // answer the right one too.
    StartServer();
    const auto read = Run(server->Rfc2217Url(), {"--timeout", "30000", "read", "20"});
    EXPECT_EQ(read.exitStatus, 0) << read.err;
    EXPECT_EQ(read.out, "34\n");
}

TEST_F(NetworkPorts, NobodyListeningOrNoSuchHostIsNamed)
{
    const std::string free = std::to_string(FreeLoopbackPort());
    struct Case {
        std::string url;
        const char* reason;
    };
    const Case cases[] = {
        {"rfc2217://127.0.0.1:" + free, "connection refused"},
        {"socket://127.0.0.1:" + free, "connection refused"},
        {"rfc2217://[::1]:" + free, "connection refused"},
        {"socket://nohost.invalid:2217", "no such host"},
    };
    for (const Case& c : cases) {
        const auto result = Run(c.url, {"read", "20"});
        EXPECT_EQ(result.exitStatus, 1) << c.url;
        EXPECT_EQ(result.out, "");
        EXPECT_EQ(result.err, "error: cannot open port " + c.url + ": " + c.reason + "\n");
    }
}

TEST_F(NetworkPorts, MalformedNamesSayWhatIsWrongAndSendNothing)
{
    for (const char* name : {"rfc2217://", "rfc2217://camhost", "socket://camhost:0",
                             "socket://camhost:65536", "socket://::1:2217", "tcp://camhost:2217"}) {
        SCOPED_TRACE(name);
        serial::PortAddress address;
        std::string problem;
        ASSERT_FALSE(serial::ParsePortName(name, address, problem));
        const auto result = Run(name, {"--log", "read", "20"});
        EXPECT_EQ(result.exitStatus, 2) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find(std::string(name) + ": " + problem), std::string::npos)
            << result.err;
        EXPECT_EQ(result.err.find("SEND"), std::string::npos) << result.err;
    }
}

TEST_F(NetworkPorts, AnInventoryCameraBehindTheServerIsNamedAndCheckedBeforeAWrite)
{
    Start({"--model", "RVQM52CM14", "--serial", "5220077"});
    const std::string inventory = dir + "/cameras.toml";
    std::ofstream(inventory) << "# the line's network camera\n[cameras.net]\nport = \""
                             << server->Rfc2217Url() << "\"\nserial = \"5220041\"\n";
    const auto run = [&](std::vector<std::string> args) {
        EXPECT_TRUE(server->WaitDeviceReleased());
        std::vector<std::string> argv{VIREOCTL_PATH, "--inventory", inventory, "--camera", "net"};
        argv.insert(argv.end(), args.begin(), args.end());
        return RunProcess(argv, {"XDG_CONFIG_HOME=" + config.Path()});
    };
    const auto refused = run({"write", "150", "a5"});
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_EQ(refused.err,
              "net: camera replaced: expected 5220041, found 5220077; nothing was written\n");
    EXPECT_EQ(Run(device, {"read", "150"}).out, "00\n");

    const auto accepted = run({"--accept-replacement", "write", "150", "a5"});
    EXPECT_EQ(accepted.exitStatus, 0) << accepted.err;
    EXPECT_EQ(Run(device, {"read", "150"}).out, "A5\n");
    std::ifstream in(inventory);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "# the line's network camera\n[cameras.net]\nport = \"" + server->Rfc2217Url() +
                  "\"\nserial = \"5220077\"\n");
}
