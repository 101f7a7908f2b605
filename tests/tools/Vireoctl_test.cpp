// vireoctl against the simulated camera program, as a script would use it.
#include "platform/profile/Profile.h"
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

using namespace testing_support;

namespace {

class VireoctlTest : public ::testing::Test {
protected:
    void Start(std::vector<std::string> options = {})
    {
        camsim = std::make_unique<CamsimProgram>(CAMSIM_PATH, options);
        port = camsim->device;
        ASSERT_FALSE(port.empty());
    }

    ProcessResult Run(std::vector<std::string> args, bool withPort = true)
    {
        std::vector<std::string> argv{VIREOCTL_PATH};
        if (withPort) {
            argv.push_back("--port");
            argv.push_back(port);
        }
        argv.insert(argv.end(), args.begin(), args.end());
        // The program's own settings store lives in the test's directory.
        return RunProcess(argv, {"XDG_CONFIG_HOME=" + config.Path()});
    }

    ScopedSettingsDir config;
    std::unique_ptr<CamsimProgram> camsim;
    std::string port;
};

} // namespace

TEST_F(VireoctlTest, ReadWriteAndTheLog)
{
    Start();
    auto read = Run({"read", "20"});
    EXPECT_EQ(read.exitStatus, 0);
    EXPECT_EQ(read.out, "34\n");
    EXPECT_EQ(read.err, "");

    EXPECT_EQ(Run({"write", "0x150", "a5"}).exitStatus, 0);
    read = Run({"--log", "read", "150"});
    EXPECT_EQ(read.out, "A5\n");
    const auto err = Lines(read.err);
    const std::vector<std::string> expected{
        "STAT: Port close\r",
        "STAT: Port close done(NO Handle)\r",
        "STAT: Port open " + port + "\r",
        "STAT: DCB Setup OK\r",
        "STAT: Timeout Setup OK\r",
        "STAT: Interface Clear(PurgeComm) OK\r",
        "STAT: SetCommMask() OK\r",
        "STAT: Port open Success\r",
        "SEND: [STX]150RQ[ETX]",
        "RCV : [STX]A5[ETX]",
        "STAT: Port close\r",
        "STAT: Port close done\r",
    };
    // The first pair comes from closing the Camera Link side, which logs nothing of its own.
    ASSERT_GE(err.size(), expected.size());
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), err.end() - expected.size()))
        << read.err;
}

TEST_F(VireoctlTest, RefusalsAndTimeouts)
{
    Start();
    const auto nak = Run({"read", "301"});
    EXPECT_EQ(nak.exitStatus, 1);
    EXPECT_EQ(nak.out, "");
    EXPECT_EQ(nak.err, "error 1: the camera refused the request\n");

    camsim.reset();
    Start({"--fault", "silent"});
    const auto silent = Run({"--timeout", "400", "--log", "read", "20"});
    EXPECT_EQ(silent.exitStatus, 1);
    EXPECT_EQ(silent.out, "");
    const auto err = Lines(silent.err);
    EXPECT_EQ(std::count(err.begin(), err.end(), "STAT: RCV Timeout\r"), 1);
    EXPECT_EQ(std::count(err.begin(), err.end(), "Communication Error: RCV Timeout"), 1);
    EXPECT_EQ(std::count(err.begin(), err.end(), "error 256: RS232C Timeout"), 1);
    EXPECT_GE(silent.seconds, 0.4);
    EXPECT_LT(silent.seconds, 2.0);
}

TEST_F(VireoctlTest, UsesTheStoredPort)
{
    Start();
    profile::WriteProfileString("Settings\\COMM Port", "Port Name", port);
    const auto read = Run({"read", "10"}, false);
    EXPECT_EQ(read.exitStatus, 0) << read.err;
    EXPECT_EQ(read.out, "52\n") << "'R' of the model name";
}

TEST_F(VireoctlTest, BadCommandsAndMissingPorts)
{
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"read"},
          {"read", "XYZ"},
          {"write", "20"},
          {"write", "20", "100"},
          {"--speed", "9600", "read", "20"},
          {"--port", "/dev/vireo-x", "--port", "/dev/vireo-x", "identify"},
          {"--cl", "1", "--port", "x", "--cl", "1", "identify"},
          {"frobnicate"}}) {
        const auto result = Run(args, false);
        EXPECT_EQ(result.exitStatus, 2) << args.front();
        EXPECT_NE(result.err.find("usage:"), std::string::npos);
        // The same camera twice is a mistake of the command line, not a port in use.
        if (args.size() > 4) {
            const std::string twice = args[args.size() - 3] + " " + args[args.size() - 2];
            EXPECT_EQ(result.err.substr(0, result.err.find('\n')), twice + ": given twice");
        }
    }
    // The reason stands on the error line itself, without --log.
    struct Unopenable {
        std::string port;
        std::string line;
    };
    for (const Unopenable& c :
         {Unopenable{"/dev/vireo-missing",
                     "error: cannot open port /dev/vireo-missing: no such device\n"},
          Unopenable{"/dev/null", "error: cannot open port /dev/null: not a serial device\n"},
          Unopenable{"COM200",
                     "error: cannot open port COM200 (/dev/ttyS199): no such device\n"}}) {
        port = c.port;
        const auto missing = Run({"read", "20"});
        EXPECT_EQ(missing.exitStatus, 1);
        EXPECT_EQ(missing.out, "");
        EXPECT_EQ(missing.err, c.line);
    }
}

TEST_F(VireoctlTest, OptionsAreForOneRunOnly)
{
    Start();
    // Rates outside the setup dialog's list are a bad command line.
    for (const char* baud : {"123", "9601", "0", "921600"}) {
        const auto result = Run({"--baud", baud, "read", "20"});
        EXPECT_EQ(result.exitStatus, 2) << baud;
        EXPECT_NE(result.err.find("usage:"), std::string::npos);
    }
    const auto read = Run({"--baud", "9600", "--timeout", "700", "read", "20"});
    EXPECT_EQ(read.exitStatus, 0) << read.err;
    EXPECT_EQ(profile::GetProfileInt("Settings\\COMM Port", "BaudRate", -1), -1);
    EXPECT_EQ(profile::GetProfileInt("Settings\\COMM Port", "HsTimeOut", -1), -1);
}
