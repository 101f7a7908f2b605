// The Camera Link port on the simulated frame grabber with its default cameras, register access
// through the facade, vireoctl on the grabber, and the grabber's settings variable.
#include "camera/RVXReg.h"
#include "comm/Cas.h"
#include "comm/ComIF.h"
#include "platform/camlink/ClLibrary.h"
#include "platform/profile/Profile.h"
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"
#include "tools/camsim/Camera.h"
#include "tools/clsim/Config.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <thread>

using namespace testing_support;

namespace {

const bool g_libraryNamed =
    setenv(camlink::kLibraryVariable, CLSIM_PATH, 1) == 0 && unsetenv(clsim::kConfigVariable) == 0;

using Records = std::vector<std::string>;

class CasClsimTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(g_libraryNamed); }

    ScopedSettingsDir settings;
    LogRecorder log;
    MessageBoxRecorder boxes;
};

TEST_F(CasClsimTest, OneNamedPortPerModel)
{
    CCas cas;
    EXPECT_EQ(cas.Initialize(), 1);
    ASSERT_EQ(cas.m_nPortCount, 4u);
    const char* ids[] = {"clsim0 RV1240DLX", "clsim1 RV1250LX", "clsim2 RVQM52BM14",
                         "clsim3 RVQM52CM14"};
    for (int i = 0; i < 4; ++i) {
        char manufacturer[CCas::kTextSize];
        char id[CCas::kTextSize];
        std::uint32_t version = 0;
        ASSERT_EQ(cas.GetPortInfo(i, manufacturer, id, version), 1);
        EXPECT_STREQ(manufacturer, "VireoSim");
        EXPECT_STREQ(id, ids[i]);
        EXPECT_EQ(version, 3u);
    }
    // Nothing stored: no port has version 0, so none is chosen.
    EXPECT_EQ(cas.m_nPortIndex, -1);
}

TEST_F(CasClsimTest, RegistersThroughTheFacadeAndTheNextStartFindsThePort)
{
    {
        CComIF comIF;
        comIF.Initialize();
        ASSERT_EQ(comIF.m_Cas.SelectPort(2), 1);
        ASSERT_EQ(comIF.Open(), 1);
        CRVXReg reg(&comIF);
        std::uint8_t value = 0;
        EXPECT_EQ(reg.ReadRegister(0x20, value), 0);
        EXPECT_EQ(value, camsim::Camera(camsim::Model::RVQM52BM14).Get(0x20));
        EXPECT_EQ(reg.WriteRegister(0x6E, 0x5A), 0);
        EXPECT_EQ(reg.ReadRegister(0x6E, value), 0);
        EXPECT_EQ(value, 0x5A);
        comIF.Close();
    }
    EXPECT_EQ(profile::GetProfileString(kCommSection, "LastCasPortID", ""), "clsim2 RVQM52BM14");
    EXPECT_EQ(profile::GetProfileInt(kCommSection, "BaudRate", 0), 9600);
    CCas next;
    next.Initialize();
    EXPECT_EQ(next.m_nPortIndex, 2);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(CasClsimTest, CharacterWriteOfTheZeroByteIsAnswered)
{
    CCas cas;
    cas.Initialize();
    ASSERT_EQ(cas.SelectPort(0), 1);
    ASSERT_EQ(cas.Open(), 1);
    char reply[16];
    // The zero byte ends the request text before its ETX.
    EXPECT_EQ(cas.SendReceive("\x02"
                              "6E",
                              reply, sizeof reply),
              0);
    EXPECT_STREQ(reply, "\x06");
    cas.Close();
}

TEST_F(CasClsimTest, SecondOpenOfAPortIsRefused)
{
    CCas first;
    CCas second;
    first.Initialize();
    second.Initialize();
    ASSERT_EQ(first.SelectPort(1), 1);
    ASSERT_EQ(second.SelectPort(1), 1);
    ASSERT_EQ(first.Open(), 1);
    log.Clear();
    EXPECT_EQ(second.Open(), 0);
    EXPECT_EQ(log.Comm(), (Records{"STAT: VireoSim: Port in use", "STAT: Port Open Failure "}));
    first.Close();
    EXPECT_EQ(second.Open(), 1);
    second.Close();
}

TEST_F(CasClsimTest, ReadWaitsForTheReplyOrItsTimeOut)
{
    const camlink::ClFunctions& cl = camlink::Library();
    hSerRef port = nullptr;
    ASSERT_EQ(cl.clSerialInit(3, &port), CL_ERR_NO_ERR);
    using Clock = std::chrono::steady_clock;

    char silent[4];
    CLUINT32 count = sizeof silent;
    auto start = Clock::now();
    EXPECT_EQ(cl.clSerialRead(port, silent, &count, 50), CL_ERR_TIMEOUT);
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(50));
    EXPECT_EQ(count, 0u);

    // A reader waiting in another thread gets the reply as soon as the write has produced it.
    char reply[4] = {};
    CLUINT32 replyCount = sizeof reply;
    CLINT32 readResult = 1;
    start = Clock::now();
    std::thread reader([&] { readResult = cl.clSerialRead(port, reply, &replyCount, 5000); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    char request[] = "\x02"
                     "20RQ\x03";
    CLUINT32 length = sizeof request - 1;
    EXPECT_EQ(cl.clSerialWrite(port, request, &length, 1000), CL_ERR_NO_ERR);
    reader.join();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2000));
    EXPECT_EQ(readResult, CL_ERR_NO_ERR);
    char expected[5];
    std::snprintf(expected, sizeof expected, "\x02%02X\x03",
                  camsim::Camera(camsim::Model::RVQM52CM14).Get(0x20));
    EXPECT_EQ(std::string(reply, replyCount), expected);

    // Closing the port ends a wait on it.
    CLINT32 closedResult = 1;
    CLUINT32 closedCount = 4;
    std::thread waiting([&] { closedResult = cl.clSerialRead(port, reply, &closedCount, 5000); });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    start = Clock::now();
    cl.clSerialClose(port);
    waiting.join();
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(2000));
    EXPECT_EQ(closedResult, CL_ERR_INVALID_REFERENCE);
}

class VireoctlOnClsim : public ::testing::Test {
protected:
    ProcessResult Run(std::vector<std::string> args, const std::string& library = CLSIM_PATH)
    {
        args.insert(args.begin(), VIREOCTL_PATH);
        return RunProcess(args, {"XDG_CONFIG_HOME=" + config.Path(),
                                 std::string(camlink::kLibraryVariable) + "=" + library});
    }

    ScopedSettingsDir config;
};

TEST_F(VireoctlOnClsim, ListsThePorts)
{
    const ProcessResult result = Run({"ports"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "0\tVireoSim\tclsim0 RV1240DLX\t3\n"
                          "1\tVireoSim\tclsim1 RV1250LX\t3\n"
                          "2\tVireoSim\tclsim2 RVQM52BM14\t3\n"
                          "3\tVireoSim\tclsim3 RVQM52CM14\t3\n");
}

TEST_F(VireoctlOnClsim, ReadsARegisterOfThePortsCamera)
{
    const ProcessResult result = Run({"--cl", "2", "--log", "read", "20"});
    EXPECT_EQ(result.exitStatus, 0);
    char expected[8];
    std::snprintf(expected, sizeof expected, "%02X\n",
                  camsim::Camera(camsim::Model::RVQM52BM14).Get(0x20));
    EXPECT_EQ(result.out, expected);
    for (const char* record :
         {"STAT: Port Open Sucsess CAS No.:2 Vendor:VireoSim Port:clsim2 RVQM52BM14\n",
          "SEND: [STX]20RQ[ETX]\n", "STAT: Port Close Sucsess CAS No.:2"})
        EXPECT_NE(result.err.find(record), std::string::npos) << record;
}

TEST_F(VireoctlOnClsim, LeavesTheStoredSettingsAlone)
{
    // The program's stored choice: an RS-232C port at 9600 baud.
    profile::WriteProfileInt(kCommSection, "Port type", PORT_RS232C);
    profile::WriteProfileString(kCommSection, "Port Name", "COM1");
    profile::WriteProfileInt(kCommSection, "BaudRate", 9600);
    profile::WriteProfileInt(kCommSection, "HsTimeOut", 3000);
    const std::string file = profile::StoreFileName();
    const auto contents = [&file] {
        std::ifstream in(file, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = contents();
    ASSERT_FALSE(before.empty());

    const ProcessResult result =
        Run({"--cl", "2", "--baud", "19200", "--timeout", "900", "read", "20"});
    EXPECT_EQ(result.exitStatus, 0) << result.err;
    EXPECT_EQ(contents(), before) << "options are for one run; the store stays as it was";
    EXPECT_EQ(Run({"--cl", "2", "--baud", "123", "read", "20"}).exitStatus, 2);
}

TEST_F(VireoctlOnClsim, FailsClearlyWithoutLibraryOrPort)
{
    ProcessResult result = Run({"--cl", "0", "read", "20"}, "/nonexistent-vireo-dir/libcl.so");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("error: cannot open Camera Link port 0: Unable to load the Camera "
                              "Link library: /nonexistent-vireo-dir/libcl.so"),
              std::string::npos)
        << result.err;

    result = Run({"ports"}, "/nonexistent-vireo-dir/libcl.so");
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "");

    result = Run({"--cl", "4", "read", "20"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_NE(result.err.find("the Camera Link library has 4 ports"), std::string::npos)
        << result.err;
}

TEST(ClsimConfig, SettingsAreReadAndBadOnesNamed)
{
    std::vector<std::string> problems;
    const clsim::Config config =
        clsim::ParseConfig("models=RVQM52BM14,RV1250LX;rates=0x1F;camera=silent;delay=20;"
                           "fail=clSerialRead:-10004,clFlushPort",
                           problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(config.models,
              (std::vector<camsim::Model>{camsim::Model::RVQM52BM14, camsim::Model::RV1250LX}));
    EXPECT_EQ(config.rates, 0x1Fu);
    EXPECT_EQ(config.faults.fault, camsim::Fault::Silent);
    EXPECT_EQ(config.faults.delayMs, 20);
    EXPECT_EQ(config.failures,
              (std::map<std::string, CLINT32>{{"clSerialRead", -10004}, {"clFlushPort", -10004}}));

    const clsim::Config bad = clsim::ParseConfig(
        "models=RV9999;speed=3;rates=0x100;fail=clNothing:-1;manufacturer", problems);
    EXPECT_EQ(problems, (std::vector<std::string>{"models=RV9999", "speed=3", "rates=0x100",
                                                  "fail=clNothing:-1", "manufacturer"}));
    EXPECT_EQ(bad.models.size(), 4u);
    EXPECT_EQ(bad.rates, 0xFFu);
    EXPECT_TRUE(bad.failures.empty());

    problems.clear();
    EXPECT_TRUE(clsim::ParseConfig("models=", problems).models.empty());
    EXPECT_TRUE(problems.empty());
}

} // namespace
