// The Camera Link port when the serial library cannot be loaded.
#include "comm/Cas.h"
#include "comm/ComIF.h"
#include "platform/camlink/ClLibrary.h"
#include "tests/support/Environment.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace testing_support;

namespace {

constexpr const char* kMissing = "/nonexistent-vireo-dir/libclallserial-missing.so";
const bool g_libraryNamed =
    (testing_support::SetEnvironment(camlink::kLibraryVariable, kMissing), true);

using Records = std::vector<std::string>;

TEST(CasNoLibrary, EveryCallAnswersUnableToLoad)
{
    ASSERT_TRUE(g_libraryNamed);
    const camlink::ClFunctions& cl = camlink::Library();
    CLUINT32 number = 7;
    hSerRef reference = nullptr;
    char text[32];
    CLUINT32 size = sizeof text;
    EXPECT_EQ(cl.clGetNumPorts(&number), CL_ERR_UNABLE_TO_LOAD_DLL);
    EXPECT_EQ(number, 7u);
    EXPECT_EQ(cl.clSerialInit(0, &reference), CL_ERR_UNABLE_TO_LOAD_DLL);
    EXPECT_EQ(cl.clGetErrorText("", CL_ERR_TIMEOUT, text, &size), CL_ERR_UNABLE_TO_LOAD_DLL);
    EXPECT_EQ(cl.clSerialRead(nullptr, text, &size, 0), CL_ERR_UNABLE_TO_LOAD_DLL);
    cl.clSerialClose(nullptr);

    const camlink::LoadState& state = camlink::LibraryState();
    EXPECT_FALSE(state.loaded);
    EXPECT_EQ(state.path, kMissing);
    EXPECT_NE(state.failure.find(kMissing), std::string::npos);
}

TEST(CasNoLibrary, PortLogsTheLoadFailureAndCannotOpen)
{
    ScopedSettingsDir settings;
    LogRecorder log;
    CCas cas;
    EXPECT_EQ(cas.Initialize(), 0);
    EXPECT_EQ(cas.m_nPortCount, 0u);
    EXPECT_EQ(cas.SelectPort(0), 0);
    EXPECT_EQ(cas.Open(), 0);
    char text[CCas::kTextSize];
    EXPECT_EQ(cas.GetPortManufacturer(0, text), 0);

    const Records records = log.Comm();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(
        records[0].rfind(
            "STAT: Unable to load the Camera Link library: " + std::string(kMissing) + ": ", 0),
        0u);
    EXPECT_EQ(records[1], "STAT: Port Open Failure Invalid Port No.");
}

TEST(CasNoLibrary, FacadeOnTheCameraLinkPortFailsToOpen)
{
    ScopedSettingsDir settings;
    LogRecorder log;
    CComIF comIF;
    comIF.Initialize();
    ASSERT_EQ(comIF.PortType, PORT_CAMERALINK);
    EXPECT_EQ(comIF.Open(), 0);
    EXPECT_EQ(comIF.IsOpen(), 0);
    char reply[16];
    EXPECT_EQ(comIF.SendReceive("\x02"
                                "20RQ\x03",
                                reply, sizeof reply),
              CL_ERR_INVALID_REFERENCE);
}

} // namespace
