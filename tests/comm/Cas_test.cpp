// The Camera Link port against a scripted serial library: enumeration and re-selection, opening
// with its rate rules, the reply wait, and every library failure.
#include "comm/Cas.h"
#include "platform/camlink/ClLibrary.h"
#include "platform/profile/Profile.h"
#include "tests/comm/FakeClLibrary.h"
#include "tests/support/Environment.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <ostream>

using namespace testing_support;
using fakecl::FakePort;

namespace {

// The port layer loads the library on first use; name it before any test runs.
const bool g_libraryNamed =
    (testing_support::SetEnvironment(camlink::kLibraryVariable, FAKECL_PATH), true);

const std::vector<FakePort> kPorts = {
    {"Acme Imaging", "grab0 portA", 3},
    {"Acme Imaging", "grab1 portB", 2},
    {"Other", "x", 0},
};

class CasTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(g_libraryNamed);
        fakecl::Reset();
        fakecl::SetPorts(kPorts);
    }

    // Opens the port with the given index on the default settings; the log starts empty.
    void OpenPort(int index)
    {
        cas.Initialize();
        ASSERT_EQ(cas.SelectPort(index), 1);
        ASSERT_EQ(cas.Open(), 1);
        log.Clear();
    }

    int Exchange(const std::vector<std::string>& pieces, char* reply, std::size_t size,
                 const char* request = "\x02"
                                       "20RQ\x03")
    {
        fakecl::ReplyInPieces(pieces);
        return cas.SendReceive(request, reply, size).Code();
    }

    static int StoredInt(const char* name)
    {
        return profile::GetProfileInt(kCommSection, name, -12345);
    }
    static std::string StoredText(const char* name)
    {
        return profile::GetProfileString(kCommSection, name, "(none)");
    }

    ScopedSettingsDir settings;
    LogRecorder log;
    MessageBoxRecorder boxes;
    CCas cas;
};

using Records = std::vector<std::string>;

TEST_F(CasTest, NoPortsThenOpenFails)
{
    fakecl::SetPorts({});
    EXPECT_EQ(cas.Initialize(), 0);
    EXPECT_EQ(cas.m_nPortCount, 0u);
    EXPECT_EQ(cas.Open(), 0);
    EXPECT_EQ(log.Comm(),
              (Records{"STAT: There is no CL port. ", "STAT: Port Open Failure Invalid Port No."}));
    EXPECT_EQ(fakecl::CountOf("clSerialInit"), 0);
}

TEST_F(CasTest, NothingStoredSelectsTheFirstPortOfVersionZero)
{
    EXPECT_EQ(cas.Initialize(), 1);
    EXPECT_EQ(cas.m_nPortCount, 3u);
    EXPECT_EQ(cas.m_nPortIndex, 2);

    fakecl::SetPorts({kPorts[0], kPorts[1]});
    CCas other;
    EXPECT_EQ(other.Initialize(), 1);
    EXPECT_EQ(other.m_nPortIndex, -1);
}

TEST_F(CasTest, StoredPortMatchesByBeginningsAndVersion)
{
    profile::WriteProfileString(kCommSection, "LastCasVendorName", "Acme");
    profile::WriteProfileString(kCommSection, "LastCasPortID", "grab1");
    profile::WriteProfileInt(kCommSection, "LastCasVer", 2);
    EXPECT_EQ(cas.Initialize(), 1);
    EXPECT_EQ(cas.m_nPortIndex, 1);
    EXPECT_STREQ(cas.m_szVendorName, "Acme Imaging");
    EXPECT_STREQ(cas.m_szPortID, "grab1 portB");

    // A stored name longer than the port's, or another version, matches nothing.
    profile::WriteProfileString(kCommSection, "LastCasVendorName", "Acme Imaging Plus");
    CCas longer;
    longer.Initialize();
    EXPECT_EQ(longer.m_nPortIndex, -1);
    profile::WriteProfileString(kCommSection, "LastCasVendorName", "Acme");
    profile::WriteProfileInt(kCommSection, "LastCasVer", 1);
    CCas otherVersion;
    otherVersion.Initialize();
    EXPECT_EQ(otherVersion.m_nPortIndex, -1);
}

TEST_F(CasTest, OpenStoresThePortAndCloseReleasesIt)
{
    profile::WriteProfileInt(kCommSection, "BaudRate", 57600);
    cas.Initialize();
    ASSERT_EQ(cas.SelectPort(1), 1);
    cas.m_Settings.BaudRate = 19200; // the common value; this port's own rate wins in the store
    log.Clear();
    ASSERT_EQ(cas.Open(), 1);
    EXPECT_EQ(cas.IsOpen(), 1);
    EXPECT_EQ(
        log.Comm(),
        (Records{"STAT: Port Open Sucsess CAS No.:1 Vendor:Acme Imaging Port:grab1 portB\n"}));
    EXPECT_EQ(fakecl::CountOf("clSetBaudRate 8"), 1);
    EXPECT_EQ(StoredText("LastCasVendorName"), "Acme Imaging");
    EXPECT_EQ(StoredText("LastCasPortID"), "grab1 portB");
    EXPECT_EQ(StoredInt("LastCasVer"), 2);
    EXPECT_EQ(StoredInt("BaudRate"), 57600);
    EXPECT_EQ(StoredInt("HsTimeOut"), 3000);

    log.Clear();
    EXPECT_EQ(cas.Close(), 1);
    EXPECT_EQ(cas.Close(), 1);
    EXPECT_EQ(cas.IsOpen(), 0);
    EXPECT_EQ(log.Comm(), (Records{"STAT: Port Close Sucsess CAS No.:1 Vendor:Acme Imaging "
                                   "Port:grab1 portB\n"}));
    EXPECT_EQ(fakecl::CountOf("clSerialClose"), 1);

    // The next start finds the same port again.
    CCas next;
    next.Initialize();
    EXPECT_EQ(next.m_nPortIndex, 1);
}

TEST_F(CasTest, TheCloseRecordNamesThePortClosedAfterAnotherWasSelected)
{
    cas.Initialize();
    const std::pair<int, int> rows[] = {{1, 0}, {0, 1}};
    for (const auto& [opened, selected] : rows) {
        SCOPED_TRACE(std::to_string(opened) + " then " + std::to_string(selected));
        ASSERT_EQ(cas.SelectPort(opened), 1);
        ASSERT_EQ(cas.Open(), 1);
        const std::string record = "STAT: Port Close Sucsess CAS No.:" + std::to_string(opened) +
                                   " Vendor:" + cas.m_szVendorName + " Port:" + cas.m_szPortID +
                                   "\n";
        ASSERT_EQ(cas.SelectPort(selected), 1);
        ASSERT_EQ(record.find(std::string(" Port:") + cas.m_szPortID + "\n"), std::string::npos)
            << "the two ports have names of their own";
        log.Clear();
        EXPECT_EQ(cas.Close(), 1);
        EXPECT_EQ(log.Comm(), Records{record});
    }
}

TEST_F(CasTest, UnknownRateIsSentAsTheSlowestButKeptAsStored)
{
    profile::WriteProfileInt(kCommSection, "BaudRate", 4800);
    OpenPort(0);
    EXPECT_EQ(fakecl::CountOf("clSetBaudRate 1"), 1);
    EXPECT_EQ(cas.m_nBaudRate, 4800);
}

TEST_F(CasTest, MatroxKeepsTheLibrarysRate)
{
    fakecl::SetPorts({{"Matrox", "solios", 0}, {"Matrox Imaging", "radient", 0}});
    fakecl::SetSupportedRates(CL_BAUDRATE_9600);
    profile::WriteProfileInt(kCommSection, "BaudRate", 115200);
    OpenPort(0);
    EXPECT_EQ(fakecl::CountOf("clGetSupportedBaudRates"), 0);
    EXPECT_EQ(fakecl::CountOf("clSetBaudRate"), 0);
    EXPECT_EQ(log.Comm(), Records{});

    // Only that exact name is spared the rate query.
    cas.Close();
    ASSERT_EQ(cas.SelectPort(1), 1);
    log.Clear();
    ASSERT_EQ(cas.Open(), 1);
    EXPECT_EQ(fakecl::CountOf("clGetSupportedBaudRates"), 1);
    EXPECT_EQ(log.Comm().front(), "STAT: Port Open Failure Baudrate Parameter Error");
}

TEST_F(CasTest, UnsupportedRateLeavesThePortOpenAtItsRate)
{
    fakecl::SetSupportedRates(0x0F);
    profile::WriteProfileInt(kCommSection, "BaudRate", 115200);
    cas.Initialize();
    cas.SelectPort(0);
    log.Clear();
    EXPECT_EQ(cas.Open(), 1);
    EXPECT_EQ(cas.IsOpen(), 1);
    EXPECT_EQ(
        log.Comm(),
        (Records{"STAT: Port Open Failure Baudrate Parameter Error",
                 "STAT: Port Open Sucsess CAS No.:0 Vendor:Acme Imaging Port:grab0 portA\n"}));
    EXPECT_EQ(fakecl::CountOf("clSetBaudRate"), 0);
    EXPECT_EQ(StoredInt("BaudRate"), 115200);
}

TEST_F(CasTest, FailedRateQueryCountsAsNoRateSupported)
{
    fakecl::Fail("clGetSupportedBaudRates", CL_ERR_TIMEOUT);
    cas.Initialize();
    cas.SelectPort(0);
    log.Clear();
    EXPECT_EQ(cas.Open(), 1);
    EXPECT_EQ(
        log.Comm(),
        (Records{"STAT: Acme Imaging says -10004",
                 "STAT: Port Open Failure Baudrate Parameter Error",
                 "STAT: Port Open Sucsess CAS No.:0 Vendor:Acme Imaging Port:grab0 portA\n"}));
    EXPECT_EQ(fakecl::CountOf("clSetBaudRate"), 0);
}

TEST_F(CasTest, RefusedRateIsLoggedAndTheOpenGoesOn)
{
    fakecl::Fail("clSetBaudRate", CL_ERR_BAUD_RATE_NOT_SUPPORTED);
    profile::WriteProfileInt(kCommSection, "BaudRate", 38400);
    cas.Initialize();
    cas.SelectPort(0);
    log.Clear();
    EXPECT_EQ(cas.Open(), 1);
    EXPECT_EQ(log.Comm().front(), "STAT: Acme Imaging says -10008");
    EXPECT_EQ(StoredInt("BaudRate"), 38400);
}

TEST_F(CasTest, RefusedInitFailsTheOpen)
{
    fakecl::Fail("clSerialInit", CL_ERR_PORT_IN_USE);
    cas.Initialize();
    cas.SelectPort(1);
    log.Clear();
    EXPECT_EQ(cas.Open(), 0);
    EXPECT_EQ(cas.IsOpen(), 0);
    EXPECT_EQ(log.Comm(), (Records{"STAT: Acme Imaging says -10003", "STAT: Port Open Failure "}));
    EXPECT_EQ(StoredText("LastCasVendorName"), "(none)");
}

TEST_F(CasTest, ErrorTextsComeFromTheLibraryOrStandInForIt)
{
    fakecl::Fail("clGetNumPorts", CL_ERR_OUT_OF_MEMORY);
    EXPECT_EQ(cas.Initialize(), 0);
    EXPECT_EQ(cas.m_nPortCount, 0u);
    fakecl::Fail("clGetNumPorts", -5);
    EXPECT_EQ(cas.Initialize(), 0);
    // A library that cannot name the error: the standard's text stands in.
    fakecl::Fail("clGetErrorText", CL_ERR_ERROR_NOT_FOUND);
    fakecl::Fail("clGetNumPorts", CL_ERR_TIMEOUT);
    EXPECT_EQ(cas.Initialize(), 0);
    EXPECT_EQ(log.Comm(), (Records{"STAT:  says -10009", "STAT: UnknownError code:-5",
                                   "STAT: Serial time-out"}));
    EXPECT_EQ(fakecl::CountOf("clGetErrorText"), 2);
}

TEST_F(CasTest, PortQueriesAndSelection)
{
    cas.Initialize();
    char text[CCas::kTextSize];
    EXPECT_EQ(cas.GetPortManufacturer(1, text), 1);
    EXPECT_STREQ(text, "Acme Imaging");
    EXPECT_EQ(cas.GetPortId(1, text), 1);
    EXPECT_STREQ(text, "grab1 portB");
    EXPECT_EQ(cas.GetPortId(3, text), 0);
    EXPECT_EQ(cas.GetPortId(-1, text), 0);

    EXPECT_EQ(cas.SelectPort(-1), 0);
    EXPECT_EQ(cas.m_nPortIndex, 2);
    EXPECT_EQ(cas.SelectPort(5), 0);
    EXPECT_EQ(cas.m_nPortIndex, 5);
    log.Clear();
    EXPECT_EQ(cas.Open(), 0);
    EXPECT_EQ(log.Comm(), Records{"STAT: Port Open Failure Invalid Port No."});

    fakecl::Fail("clGetPortInfo", CL_ERR_INVALID_INDEX);
    log.Clear();
    EXPECT_EQ(cas.GetPortManufacturer(0, text), 0);
    EXPECT_EQ(cas.SelectPort(0), 0);
    EXPECT_STREQ(cas.m_szVendorName, "");
    EXPECT_EQ(log.Comm().size(), 2u);
}

TEST_F(CasTest, LongPortTextsFitTheirRoomOrAreRefused)
{
    const std::string name(127, 'N');
    const std::string id(127, 'I');
    fakecl::SetPorts({{name, id, 0}, {"A", std::string(128, 'I'), 0}});
    cas.Initialize();
    char text[CCas::kTextSize];
    EXPECT_EQ(cas.GetPortManufacturer(0, text), 1);
    EXPECT_EQ(std::string(text), name);
    EXPECT_EQ(cas.GetPortId(0, text), 1);
    EXPECT_EQ(std::string(text), id);
    // The library refuses an identifier too long for the 128-byte buffer.
    log.Clear();
    EXPECT_EQ(cas.GetPortId(1, text), 0);
    // The library's text for it does not fit its buffer either: the standard's text stands in.
    EXPECT_EQ(log.Comm(), Records{"STAT: Buffer too small"});
}

class CasExchangeTest : public CasTest {
protected:
    void SetUp() override
    {
        CasTest::SetUp();
        OpenPort(1);
    }
};

TEST_F(CasExchangeTest, ReplyLosesPrefixAndTerminator)
{
    char reply[16];
    EXPECT_EQ(Exchange({"\x02"
                        "3F\x03"},
                       reply, sizeof reply),
              0);
    EXPECT_STREQ(reply, "3F");
    EXPECT_EQ(log.Comm(), (Records{"SEND: [STX]20RQ[ETX]", "RCV : [STX]3F[ETX]"}));
    EXPECT_EQ(fakecl::Written(), "\x02"
                                 "20RQ\x03");
    EXPECT_EQ(fakecl::CountOf("clFlushPort"), 1);
    EXPECT_EQ(fakecl::CountOf("clSerialWrite 6 3000"), 1);
    EXPECT_EQ(fakecl::CountOf("clSerialRead 4 1000"), 1);
    EXPECT_TRUE(boxes.Boxes().empty());
}

TEST_F(CasExchangeTest, ReplyInPiecesIsAssembled)
{
    char reply[16];
    EXPECT_EQ(Exchange({"\x02", "3", "", "F\x03"}, reply, sizeof reply), 0);
    EXPECT_STREQ(reply, "3F");
    // The piece that comes while the port is quiet arrives inside a read that waits for it.
    EXPECT_EQ(fakecl::CountOf("clSerialRead"), 4);
    EXPECT_EQ(log.Comm().back(), "RCV : [STX]3F[ETX]");
}

TEST_F(CasExchangeTest, TerminatorPairAndNoPrefix)
{
    cas.m_Settings.Suffix2 = '\r';
    char reply[16];
    // ETX alone does not end the reply when a second suffix is set.
    EXPECT_EQ(Exchange({"\x02"
                        "3F\x03",
                        "\r"},
                       reply, sizeof reply),
              0);
    EXPECT_STREQ(reply, "3F");
    EXPECT_EQ(log.Comm().back(), "RCV : [STX]3F[ETX]\r");

    cas.m_Settings.Suffix2 = 0;
    cas.m_Settings.Prefix = 0;
    EXPECT_EQ(Exchange({"41\x03"}, reply, sizeof reply), 0);
    EXPECT_STREQ(reply, "41");
}

TEST_F(CasExchangeTest, BytesAfterTheTerminatorAreNotPartOfTheReply)
{
    char reply[16];
    EXPECT_EQ(Exchange({"\x02"
                        "3F\x03\x02"
                        "99"},
                       reply, sizeof reply),
              0);
    EXPECT_STREQ(reply, "3F");
}

TEST_F(CasExchangeTest, ReplyIsCutToTheCallersRoom)
{
    char reply[4];
    std::memset(reply, '#', sizeof reply);
    EXPECT_EQ(Exchange({"\x02"
                        "ABCDEF\x03"},
                       reply, 3),
              0);
    EXPECT_EQ(std::string(reply, 4), std::string("AB\0#", 4));
}

TEST_F(CasExchangeTest, SilenceEndsInTheReplyTimeOutWithoutMessageBox)
{
    cas.m_Settings.HsTimeOut = 60;
    char reply[16] = "untouched";
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Exchange({}, reply, sizeof reply), LINK_TIMEOUT);
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_GE(waited, std::chrono::milliseconds(60));
    EXPECT_LT(waited, std::chrono::milliseconds(1000));
    EXPECT_EQ(log.Comm(), (Records{"SEND: [STX]20RQ[ETX]", "STAT: RCV Timeout"}));
    EXPECT_STREQ(reply, "untouched");
    EXPECT_TRUE(boxes.Boxes().empty());
    // It waits inside the library's read with the time that is left, not by polling.
    EXPECT_LE(fakecl::CountOf("clGetNumBytesAvail"), 3);
    EXPECT_EQ(fakecl::CountOf("clSerialRead"), 1);
}

// A library whose read comes back at once with nothing, instead of waiting out its time-out.
TEST_F(CasExchangeTest, AReadThatReturnsAtOnceDoesNotMakeTheWaitSpin)
{
    fakecl::Fail("clSerialRead", CL_ERR_TIMEOUT);
    cas.m_Settings.HsTimeOut = 1000;
    char reply[16];
    const auto start = std::chrono::steady_clock::now();
    const double cpuStart = testing_support::ProcessCpuSeconds();
    EXPECT_EQ(Exchange({}, reply, sizeof reply), LINK_TIMEOUT);
    const double cpu = testing_support::ProcessCpuSeconds() - cpuStart;
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_GE(wall, 1.0);
    EXPECT_LT(cpu, 0.05 * wall) << "process CPU " << cpu << " s in " << wall << " s";
}

TEST_F(CasExchangeTest, ReplyWithoutTerminatorTimesOut)
{
    cas.m_Settings.HsTimeOut = 30;
    char reply[16];
    EXPECT_EQ(Exchange({"\x02"
                        "3F"},
                       reply, sizeof reply),
              LINK_TIMEOUT);
    EXPECT_EQ(log.Comm().back(), "STAT: RCV Timeout");
    EXPECT_EQ(log.Comm().size(), 2u);
}

TEST_F(CasExchangeTest, FullBufferWithoutTerminatorEndsAtOnce)
{
    char reply[16];
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Exchange({std::string(300, 'A')}, reply, sizeof reply), LINK_TIMEOUT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(1000));
    EXPECT_EQ(fakecl::BytesRead(), CCas::kReplyMax);
    EXPECT_EQ(log.Comm(), (Records{"SEND: [STX]20RQ[ETX]", "RCV : " + std::string(255, 'A'),
                                   "STAT: RCV Timeout"}));
}

struct CallFailure {
    const char* call;
    CLINT32 code;
    bool sent; // the request's record is written before the failing call
};

void PrintTo(const CallFailure& failure, std::ostream* out)
{
    *out << failure.call << " answering " << failure.code;
}

class CasCallFailureTest : public CasExchangeTest,
                           public ::testing::WithParamInterface<CallFailure> {};

TEST_P(CasCallFailureTest, IsLoggedAndReturned)
{
    const CallFailure failure = GetParam();
    fakecl::Fail(failure.call, failure.code);
    char reply[16];
    EXPECT_EQ(Exchange({"\x02"
                        "3F\x03"},
                       reply, sizeof reply),
              failure.code);
    Records expected;
    if (failure.sent)
        expected.push_back("SEND: [STX]20RQ[ETX]");
    expected.push_back("STAT: Acme Imaging says " + std::to_string(failure.code));
    expected.push_back(std::string("STAT: ") + failure.call + "() Failed.");
    EXPECT_EQ(log.Comm(), expected);
    EXPECT_TRUE(boxes.Boxes().empty());
}

INSTANTIATE_TEST_SUITE_P(
    EachCall, CasCallFailureTest,
    ::testing::Values(CallFailure{"clFlushPort", CL_ERR_INVALID_REFERENCE, false},
                      CallFailure{"clSerialWrite", CL_ERR_TIMEOUT, false},
                      CallFailure{"clGetNumBytesAvail", CL_ERR_OUT_OF_MEMORY, true},
                      CallFailure{"clSerialRead", CL_ERR_TIMEOUT, true}),
    [](const auto& info) { return std::string(info.param.call); });

TEST_F(CasTest, ExchangeOnAClosedPortNeverReachesTheLibrary)
{
    cas.Initialize();
    log.Clear();
    char reply[16];
    EXPECT_EQ(cas.SendReceive("\x02"
                              "20RQ\x03",
                              reply, sizeof reply),
              CL_ERR_INVALID_REFERENCE);
    EXPECT_EQ(log.Comm(), (Records{"STAT: Other says -10006", "STAT: clFlushPort() Failed."}));
    EXPECT_EQ(fakecl::CountOf("clFlushPort"), 0);
}

} // namespace
