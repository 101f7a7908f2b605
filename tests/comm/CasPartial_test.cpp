// The Camera Link port on a library that lacks the rate functions and the error texts.
#include "comm/Cas.h"
#include "platform/camlink/ClLibrary.h"
#include "tests/comm/FakeClLibrary.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace testing_support;

namespace {

const bool g_libraryNamed = setenv(camlink::kLibraryVariable, FAKECL_PARTIAL_PATH, 1) == 0;

using Records = std::vector<std::string>;

TEST(CasPartialLibrary, MissingFunctionsAnswerFunctionNotFound)
{
    ASSERT_TRUE(g_libraryNamed);
    const camlink::LoadState& state = camlink::LibraryState();
    EXPECT_TRUE(state.loaded);
    EXPECT_EQ(state.missing,
              (Records{"clGetSupportedBaudRates", "clSetBaudRate", "clGetErrorText"}));
    const camlink::ClFunctions& cl = camlink::Library();
    CLUINT32 mask = 0;
    EXPECT_EQ(cl.clGetSupportedBaudRates(nullptr, &mask), CL_ERR_FUNCTION_NOT_FOUND);
    EXPECT_EQ(cl.clSetBaudRate(nullptr, CL_BAUDRATE_9600), CL_ERR_FUNCTION_NOT_FOUND);
    EXPECT_NE(camlink::LibraryProblem().find("clSetBaudRate"), std::string::npos);
}

TEST(CasPartialLibrary, PortOpensAndWorksWithoutThem)
{
    ScopedSettingsDir settings;
    LogRecorder log;
    fakecl::Reset();
    fakecl::SetPorts({{"Acme", "p0", 0}});
    CCas cas;
    ASSERT_EQ(cas.Initialize(), 1);
    ASSERT_EQ(cas.m_nPortIndex, 0);
    EXPECT_EQ(cas.Open(), 1);
    EXPECT_EQ(log.Comm(), (Records{"STAT: Function not found in the Camera Link library: "
                                   "clGetSupportedBaudRates clSetBaudRate clGetErrorText",
                                   "STAT: Port Open Failure Baudrate Parameter Error",
                                   "STAT: Port Open Sucsess CAS No.:0 Vendor:Acme Port:p0\n"}));

    fakecl::ReplyInPieces({"\x02\x06\x03"});
    char reply[16];
    EXPECT_EQ(cas.SendReceive("\x02"
                              "6E01\x03",
                              reply, sizeof reply),
              0);
    EXPECT_STREQ(reply, "\x06");
    cas.Close();
}

} // namespace
