// The Camera Link port on the simulated frame grabber set up as a "Matrox" grabber that supports
// only 9600 baud, with slow cameras whose replies leave in pieces.
#include "comm/Cas.h"
#include "platform/camlink/ClLibrary.h"
#include "platform/profile/Profile.h"
#include "tests/support/TestEnvironment.h"
#include "tools/camsim/Camera.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

using namespace testing_support;

namespace {

const bool g_libraryNamed = setenv(camlink::kLibraryVariable, CLSIM_PATH, 1) == 0 &&
                            setenv("CLSIM_CONFIG",
                                   "manufacturer=Matrox;models=RVQM52CM14,RV1240DLX;rates=0x01;"
                                   "delay=40;split=1",
                                   1) == 0;

using Records = std::vector<std::string>;

class CasClsimFaultsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_libraryNamed);
        profile::WriteProfileInt(kCommSection, "BaudRate", 115200);
        cas.Initialize();
        ASSERT_EQ(cas.m_nPortCount, 2u);
        ASSERT_EQ(cas.SelectPort(0), 1);
        log.Clear();
    }
    void TearDown() override { cas.Close(); }

    ScopedSettingsDir settings;
    LogRecorder log;
    CCas cas;
};

TEST_F(CasClsimFaultsTest, MatroxOpensWithoutTouchingTheRate)
{
    EXPECT_EQ(cas.Open(), 1);
    EXPECT_EQ(log.Comm(), (Records{"STAT: Port Open Sucsess CAS No.:0 Vendor:Matrox "
                                   "Port:clsim0 RVQM52CM14\n"}));
    EXPECT_EQ(profile::GetProfileInt(kCommSection, "BaudRate", 0), 115200);
}

TEST_F(CasClsimFaultsTest, SlowReplyInPiecesIsAssembled)
{
    ASSERT_EQ(cas.Open(), 1);
    char reply[16];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(cas.SendReceive("\x02"
                              "10RQ\x03",
                              reply, sizeof reply),
              0);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(40));
    char expected[3];
    std::snprintf(expected, sizeof expected, "%02X",
                  camsim::Camera(camsim::Model::RVQM52CM14).Get(0x10));
    EXPECT_STREQ(reply, expected);
}

TEST_F(CasClsimFaultsTest, ReplyLaterThanTheTimeOutIsATimeOut)
{
    ASSERT_EQ(cas.Open(), 1);
    cas.m_Settings.HsTimeOut = 10;
    char reply[16];
    EXPECT_EQ(cas.SendReceive("\x02"
                              "10RQ\x03",
                              reply, sizeof reply),
              LINK_TIMEOUT);
    EXPECT_EQ(log.Comm().back(), "STAT: RCV Timeout");

    // Once the late reply has arrived, the next exchange's flush discards it.
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    cas.m_Settings.HsTimeOut = 3000;
    EXPECT_EQ(cas.SendReceive("\x02"
                              "11RQ\x03",
                              reply, sizeof reply),
              0);
    char expected[3];
    std::snprintf(expected, sizeof expected, "%02X",
                  camsim::Camera(camsim::Model::RVQM52CM14).Get(0x11));
    EXPECT_STREQ(reply, expected);
}

} // namespace
