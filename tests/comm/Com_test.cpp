// The shared part of every port: log records, result texts, stored settings, window logging.
#include "camera/RVXReg.h"
#include "comm/ComIF.h"
#include "platform/profile/Profile.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include <algorithm>
#include <QSettings>

#include <filesystem>
#include <functional>

using testing_support::LogRecorder;
using testing_support::ScopedSettingsDir;

namespace {

// A port with nothing behind it, to reach what CCom does itself.
class BarePort : public CCom {
public:
    int Initialize() override { return LoadSettings(); }
    int Open() override { return 0; }
    int Close() override { return 1; }
    int IsOpen() override { return 0; }
    CResult SendReceive(const char*, char*, std::size_t) override { return LINK_OK; }
};

std::string Render(std::uint8_t byte)
{
    BarePort port;
    std::string text;
    port.FormatLogByte(byte, text);
    return text;
}

} // namespace

TEST(LogRecord, ControlBytesAreNamedAndCarriageReturnStaysReal)
{
    EXPECT_EQ(Render(0x00), "[NUL]");
    EXPECT_EQ(Render(0x02), "[STX]");
    EXPECT_EQ(Render(0x0D), "\r");
    EXPECT_EQ(Render(0x0E), "[S0]");
    EXPECT_EQ(Render(0x15), "[NAK]");
    EXPECT_EQ(Render(0x1F), "[US]");
    EXPECT_EQ(Render(0x20), " ");
    EXPECT_EQ(Render(0xFF), "\xFF");
}

TEST(LogRecord, KindsBuildTheirRecords)
{
    LogRecorder log;
    BarePort port;
    port.AddLogRecord("\x02"
                      "1FRQ\x03",
                      LOG_SEND);
    port.AddLogRecord("\x02"
                      "3F\r\x03",
                      LOG_RECEIVE);
    port.AddLogRecord("Port open COM1\r", LOG_STATUS);
    port.AddLogRecord("\x02"
                      "ignored",
                      7);
    EXPECT_EQ(log.Comm(), (std::vector<std::string>{"SEND: [STX]1FRQ[ETX]", "RCV : [STX]3F\r[ETX]",
                                                    "STAT: Port open COM1\r", ""}));
}

TEST(LogRecord, LongTextIsCutTo256SourceBytes)
{
    LogRecorder log;
    BarePort port;
    const std::string text(300, 'A');
    port.AddLogRecord(text.c_str(), LOG_SEND);
    port.AddLogRecord(std::string(300, '\x02').c_str(), LOG_RECEIVE);
    ASSERT_EQ(log.Comm().size(), 2u);
    EXPECT_EQ(log.Comm()[0], "SEND: " + std::string(256, 'A'));
    EXPECT_EQ(log.Comm()[1].size(), 6u + 256u * 5u);
}

TEST(LogRecord, NothingIsDeliveredWithoutWindowOrWithLoggingOff)
{
    BarePort port;
    port.AddLogRecord("before the window", LOG_STATUS); // no window: must not crash
    LogRecorder log;
    port.SetWindowLoggingFlag(false);
    port.AddLogRecord("hidden", LOG_STATUS);
    port.SetWindowLoggingFlag(true);
    port.AddLogRecord("shown", LOG_STATUS);
    EXPECT_EQ(log.Comm(), std::vector<std::string>{"STAT: shown"});
    std::string left;
    EXPECT_EQ(port.TakeLogRecord(left), 0) << "every record is delivered or dropped at once";
}

TEST(Result, EveryFailureHasItsKindAndAText)
{
    struct Case {
        CResult result;
        ResultKind kind;
        int code;
        const char* text;
    };
    const Case cases[] = {
        {CResult(), ResultKind::Success, 0, ""},
        {REG_OK, ResultKind::Success, 0, ""},
        {LINK_OK, ResultKind::Success, 0, ""},
        {REG_NAK, ResultKind::Camera, 1, "[NAK] Recieved"},
        {REG_INVALID_DATA, ResultKind::Camera, 2, "Camera replies invalid data "},
        {REG_INVALID_REGISTER, ResultKind::Camera, 3, "Invalid register"},
        {REG_INVALID_PARAMETER, ResultKind::Camera, 4, "Invalid parameter"},
        {LINK_TIMEOUT, ResultKind::Link, 256, "RS232C Timeout"},
        {LINK_DSR_OFF, ResultKind::Link, 257, "RS232C DSR off"},
        {LINK_CTS_OFF, ResultKind::Link, 258, "RS232C CTS off"},
        {LINK_TX_ERROR, ResultKind::Link, 259, "RS232C Tx error"},
        {LINK_RX_ERROR, ResultKind::Link, 260, "RS232C Rx error"},
        {LINK_PARITY_ERROR, ResultKind::Link, 261, "RS232C Parity error"},
        {LINK_BUFFER_OVERFLOW, ResultKind::Link, 262, "RS232C Buffer overflow"},
        {LINK_REOPEN_FAILED, ResultKind::Link, 263, "Port could not be opened"},
        {LINK_NO_PORT, ResultKind::Link, 264, "No port for this port type"},
        {LINK_CANCELLED, ResultKind::Cancelled, 265, "Cancelled by the user"},
        {CResult::Grabber(-10004, "Time out"), ResultKind::Grabber, -10004, "Time out"},
        {CResult::Grabber(-10004, ""), ResultKind::Grabber, -10004, "grabber error -10004"},
        {CResult::Grabber(-7, ""), ResultKind::Grabber, -7, "grabber error -7"},
    };
    BarePort port;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        EXPECT_EQ(c.result.Kind(), c.kind);
        EXPECT_EQ(c.result.Code(), c.code);
        EXPECT_EQ(c.result.Text(), c.text);
        EXPECT_EQ(c.result.Failed(), c.kind != ResultKind::Success);
        EXPECT_EQ(!c.result.Text().empty(), c.result.Failed()) << "every failure has a text";
        if (c.result.Failed()) {
            // Quoted in a message without the trailing blank a camera text may carry.
            EXPECT_EQ(c.result.Reason() + (c.result.Text().back() == ' ' ? " " : ""),
                      c.result.Text());
        }
        // The port's and the register maps' texts by code are the same texts.
        std::string text = "stale";
        const bool link = c.kind == ResultKind::Link || c.kind == ResultKind::Cancelled;
        EXPECT_EQ(port.GetErrorText(c.code, text), link ? 1 : 0);
        EXPECT_EQ(text, link ? c.text : "");
        if (c.kind != ResultKind::Grabber) {
            EXPECT_EQ(CRVXReg(&g_ComIF).GetResultText(c.code), c.text);
        }
    }
}

TEST(Settings, DefaultsWhenNothingIsStored)
{
    ScopedSettingsDir store;
    CComIF facade;
    facade.LoadSettings();
    const CComSettings& s = facade.m_Settings;
    EXPECT_EQ(s.PortName, "COM3");
    EXPECT_EQ(s.BaudRate, 9600);
    EXPECT_EQ(s.Parity, 0);
    EXPECT_EQ(s.ByteSize, 8);
    EXPECT_EQ(s.StopBits, 0);
    EXPECT_EQ(s.fDsr, 0);
    EXPECT_EQ(s.fRts, 0);
    EXPECT_EQ(s.fOutX, 0);
    EXPECT_EQ(s.HsTimeOut, 3000);
    EXPECT_EQ(s.Prefix, 2);
    EXPECT_EQ(s.Suffix, 3);
    EXPECT_EQ(s.Suffix2, 0);
    EXPECT_EQ(facade.PortType, PORT_CAMERALINK);
}

TEST(Settings, StoredValuesRoundTripAndBadOnesFallBack)
{
    ScopedSettingsDir store;
    {
        CComIF facade;
        facade.LoadSettings();
        facade.m_Settings.PortName = "/dev/ttyUSB0";
        facade.m_Settings.BaudRate = 115200;
        facade.m_Settings.Suffix2 = 0x0D;
        facade.PortType = PORT_RS232C;
        facade.SaveSettings();
    }
    profile::WriteProfileString(kCommSection, "HsTimeOut", "soon");
    profile::WriteProfileString(kCommSection, "Parity", "");
    CComIF facade;
    facade.LoadSettings();
    EXPECT_EQ(facade.m_Settings.PortName, "/dev/ttyUSB0");
    EXPECT_EQ(facade.m_Settings.BaudRate, 115200);
    EXPECT_EQ(facade.m_Settings.Suffix2, 0x0D);
    EXPECT_EQ(facade.PortType, PORT_RS232C);
    EXPECT_EQ(facade.m_Settings.HsTimeOut, 3000) << "not a number yields the default";
    EXPECT_EQ(facade.m_Settings.Parity, 0);
    EXPECT_NE(profile::StoreFileName().find(store.Path()), std::string::npos);
}

TEST(Settings, OverlongPortNameIsCut)
{
    ScopedSettingsDir store;
    profile::WriteProfileString(kCommSection, "Port Name", std::string(kPortNameMax + 9, 'x'));
    CComIF facade;
    facade.LoadSettings();
    EXPECT_EQ(facade.m_Settings.PortName, std::string(kPortNameMax, 'x'));
}

TEST(Settings, StoredTimeOutOutsideItsRangeServesAsTheDefaultAndIsLoggedOnce)
{
    struct Row {
        const char* stored; // nullptr: nothing stored
        int used;
        bool logged;
    };
    const Row rows[] = {
        {nullptr, 3000, false},  {"1", 1, false},
        {"60000", 60000, false}, {"1500", 1500, false},
        {"0", 3000, true},       {"-5", 3000, true},
        {"60001", 3000, true},   {"2147483647", 3000, true},
        {"abc", 3000, true},     {"", 3000, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored ? row.stored : "(nothing)");
        ScopedSettingsDir store;
        if (row.stored)
            profile::WriteProfileString(kCommSection, "HsTimeOut", row.stored);
        LogRecorder log;
        CComIF facade;
        facade.Initialize();
        EXPECT_EQ(facade.m_Settings.HsTimeOut, row.used);
        EXPECT_EQ(facade.m_Rs232c.m_Settings.HsTimeOut, row.used);
        const auto comm = log.Comm();
        const auto said = std::count_if(comm.begin(), comm.end(), [](const std::string& r) {
            return r.find("Stored HsTimeOut") != std::string::npos;
        });
        EXPECT_EQ(said, row.logged ? 1 : 0);
        if (row.logged) {
            EXPECT_NE(comm.front().find("not from 1 to 60000 ms: 3000 ms used"), std::string::npos)
                << comm.front();
        }
    }
}

TEST(Settings, AnUnwritableStoreIsReportedAndDefaultsServe)
{
    ScopedSettingsDir store;
    // The settings file's place is taken by a directory: nothing can be read or stored.
    std::filesystem::create_directories(profile::StoreFileName());
    LogRecorder log;
    CComIF facade;
    facade.LoadSettings();
    EXPECT_EQ(facade.m_Settings.BaudRate, 9600);
    facade.SaveSettings();
    const auto comm = log.Comm();
    ASSERT_FALSE(comm.empty());
    EXPECT_EQ(comm.back().rfind("STAT: Settings store: ", 0), 0u) << comm.back();
    EXPECT_NE(comm.back().find("VireoStudio.conf"), std::string::npos);
}

TEST(Settings, EachLoadOrSaveOpensTheStoreOnceAndWritesTheFileAtItsEnd)
{
    ScopedSettingsDir store;
    LogRecorder log;
    BarePort port;
    CComIF facade;
    struct Case {
        const char* what;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"a port's load", [&] { port.LoadSettings(); }},
        {"a port's save", [&] { port.SaveSettings(); }},
        {"the facade's load", [&] { facade.LoadSettings(); }},
        {"the facade's start, both ports included", [&] { facade.Initialize(); }},
    };
    for (const Case& c : cases) {
        const long before = profile::StoresOpened();
        c.run();
        EXPECT_EQ(profile::StoresOpened() - before, 1) << c.what;
    }

    // Read from the file's text: QSettings keeps a process-wide copy of a file it read, and a
    // rewrite of the same size within its clock's step looks unchanged to it.
    const auto onDisk = [] {
        std::ifstream in(profile::StoreFileName());
        const std::string text((std::istreambuf_iterator<char>(in)), {});
        const std::size_t at = text.find("BaudRate=");
        return at == std::string::npos ? 0 : std::atoi(text.c_str() + at + 9);
    };
    port.m_Settings.BaudRate = 57600;
    port.SaveSettings();
    EXPECT_EQ(onDisk(), 57600);
    {
        const profile::Batch batch;
        EXPECT_TRUE(profile::WriteProfileInt(kCommSection, "BaudRate", 19200));
        EXPECT_EQ(profile::GetProfileInt(kCommSection, "BaudRate", 0), 19200);
        // Written by another store meanwhile: the batch's own value wins at its end.
        QSettings(QString::fromStdString(profile::StoreFileName()), QSettings::IniFormat)
            .setValue("Settings/COMM Port/Parity", 2);
    }
    EXPECT_EQ(onDisk(), 19200);
    BarePort next;
    next.LoadSettings();
    EXPECT_EQ(next.m_Settings.BaudRate, 19200);
    EXPECT_EQ(next.m_Settings.Parity, 2) << "a value stored by another is kept";
}

TEST(Settings, TheGrabberPortsLoadAndSaveOpenTheStoreOnce)
{
    ScopedSettingsDir store;
    LogRecorder log;
    CComIF facade;
    facade.m_Cas.m_nBaudRate = 115200;
    struct Case {
        const char* what;
        std::function<void()> run;
    };
    const Case cases[] = {
        {"the grabber port's save", [&] { facade.m_Cas.SaveSettings(); }},
        {"the grabber port's load", [&] { facade.m_Cas.LoadSettings(); }},
    };
    for (const Case& c : cases) {
        const long before = profile::StoresOpened();
        c.run();
        EXPECT_EQ(profile::StoresOpened() - before, 1) << c.what;
    }
    // What was saved in the one store is what the load read back.
    EXPECT_EQ(facade.m_Cas.m_nBaudRate, 115200);
}
