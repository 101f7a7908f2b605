// The network serial devices against a scripted server on loopback: what goes over the wire
// byte for byte, and what the device makes of the server's answers, silences and departures.
#include "platform/serial/NetworkDevices.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

using namespace serial;

constexpr char IAC = '\xFF';
constexpr char SB = '\xFA';
constexpr char SE = '\xF0';
constexpr char DO = '\xFD';
constexpr char DONT = '\xFE';
constexpr char NOP = '\xF1';
constexpr char COMPORT = 44;

std::string Sub(std::string payload)
{
    return std::string{IAC, SB, COMPORT} + payload + std::string{IAC, SE};
}

PortAddress Parsed(const std::string& name)
{
    PortAddress address;
    std::string problem;
    EXPECT_TRUE(ParsePortName(name, address, problem)) << problem;
    return address;
}

constexpr int kWriteMs = 3000;

// One connection on 127.0.0.1, driven step by step by the test.
class ScriptedServer {
public:
    ScriptedServer()
    {
        m_listen = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(m_listen, 1);
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
    }
    ~ScriptedServer()
    {
        CloseClient();
        ::close(m_listen);
    }

    std::string Url(const char* scheme) const
    {
        return std::string(scheme) + "://127.0.0.1:" + std::to_string(m_port);
    }
    PortAddress Address(const char* scheme) const { return Parsed(Url(scheme)); }

    void Accept() { m_client = ::accept4(m_listen, nullptr, nullptr, SOCK_CLOEXEC); }
    void Send(const std::string& bytes)
    {
        ASSERT_EQ(::send(m_client, bytes.data(), bytes.size(), MSG_NOSIGNAL),
                  static_cast<ssize_t>(bytes.size()));
    }
    // Collects what the client sends until it holds wanted, for at most five seconds.
    bool ReadUntil(const std::string& wanted)
    {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (received.find(wanted) == std::string::npos) {
            pollfd fd{m_client, POLLIN, 0};
            if (std::chrono::steady_clock::now() > deadline || ::poll(&fd, 1, 100) < 0)
                return false;
            char chunk[512];
            if (fd.revents) {
                const ssize_t n = ::recv(m_client, chunk, sizeof chunk, 0);
                if (n <= 0)
                    return false;
                received.append(chunk, static_cast<std::size_t>(n));
            }
        }
        return true;
    }
    void CloseClient()
    {
        if (m_client >= 0)
            ::close(m_client);
        m_client = -1;
    }

    std::string received;

private:
    int m_listen = -1;
    int m_client = -1;
    int m_port = 0;
};

// What a server that takes the option answers at open, for 19200 8E1.
const std::string kAnswers = Sub({'\x65', 0, 0, '\x4B', 0}) + Sub({'\x66', 8}) + Sub({'\x67', 3}) +
                             Sub({'\x68', 1}) + Sub({'\x6B', '\x30'});

LineSettings EightE1At19200(bool checkLines)
{
    LineSettings s;
    s.baudRate = 19200;
    s.parity = 2;
    s.dsrOutFlow = checkLines;
    return s;
}

TEST(Rfc2217Device, ServerThatSaysNothingFailsTheOpenInOneTimeOut)
{
    ScriptedServer server;
    auto device = CreateRfc2217Device(300);
    auto serving = std::async(std::launch::async, [&] { server.Accept(); });
    EXPECT_EQ(device->Open(server.Address("rfc2217")), ETIMEDOUT);
    serving.get();
    EXPECT_NE(device->FailureDetail().find("did not answer the RFC 2217 negotiation in 300 ms"),
              std::string::npos)
        << device->FailureDetail();
}

TEST(Rfc2217Device, OpensWhateverTheServerAnswersAndSendsSettingsOnlyWhenTaken)
{
    struct Case {
        const char* what;
        std::string answerToOption; // sent once the client offered the option
        std::string answers;        // sent once the settings arrived
        bool settingsSent;
        bool linesKnown;
    };
    const Case cases[] = {
        {"takes the option", {IAC, DO, COMPORT}, kAnswers, true, true},
        {"answers no control request", {IAC, DO, COMPORT}, "", true, false},
        {"refuses the option", {IAC, DONT, COMPORT}, "", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScriptedServer server;
        auto device = CreateRfc2217Device(300);
        auto serving = std::async(std::launch::async, [&] {
            server.Accept();
            server.ReadUntil({IAC, '\xFB', COMPORT});
            if (!c.answerToOption.empty())
                server.Send(c.answerToOption);
        });
        ASSERT_EQ(device->Open(server.Address("rfc2217")), 0);
        serving.get();
        auto answering = std::async(std::launch::async, [&] {
            if (c.settingsSent && server.ReadUntil(Sub({'\x0B', IAC, IAC})) && !c.answers.empty())
                server.Send(c.answers);
        });
        EXPECT_TRUE(device->Configure(EightE1At19200(true)));
        answering.get();
        const bool sent = server.received.find(Sub({1, 0, 0, '\x4B', 0})) != std::string::npos;
        EXPECT_EQ(sent, c.settingsSent);
        if (c.settingsSent) {
            for (const std::string& request :
                 {Sub({2, 8}), Sub({3, 3}), Sub({4, 1}), Sub({5, 1}), Sub({5, 8}), Sub({5, 11})})
                EXPECT_NE(server.received.find(request), std::string::npos);
        }
        ModemLines lines;
        EXPECT_EQ(device->GetModemLines(lines), c.linesKnown);
        if (c.linesKnown) {
            EXPECT_TRUE(lines.cts);
            EXPECT_TRUE(lines.dsr);
        }
    }
}

TEST(Rfc2217Device, EscapesDataBothWaysReportsLineChangesAndALostConnection)
{
    ScriptedServer server;
    auto device = CreateRfc2217Device(2000);
    auto serving = std::async(std::launch::async, [&] {
        server.Accept();
        server.Send({IAC, DO, COMPORT});
    });
    ASSERT_EQ(device->Open(server.Address("rfc2217")), 0);
    serving.get();
    auto answering = std::async(std::launch::async, [&] {
        if (server.ReadUntil(Sub({'\x0B', IAC, IAC})))
            server.Send(kAnswers);
    });
    ASSERT_TRUE(device->Configure(EightE1At19200(false)));
    answering.get();
    ASSERT_TRUE(device->Watch(EventReceived | EventCtsChanged | EventDsrChanged));

    int written = 0;
    int error = 0;
    const std::uint8_t frame[] = {0x02, 0xFF, 0x41, 0x03};
    EXPECT_EQ(device->Write(frame, 4, kWriteMs, written, error), WriteOutcome::Completed);
    EXPECT_EQ(written, 4);
    EXPECT_TRUE(server.ReadUntil({'\x02', IAC, IAC, 'A', '\x03'}));

    // Data with an escaped 0xFF and a telnet command inside; then DSR drops.
    server.Send(std::string{'\x02', IAC, IAC, IAC, NOP, 'B', '\x03'});
    std::string failure;
    std::string data;
    while (data.size() < 4) {
        ASSERT_EQ(device->WaitEvent(failure), static_cast<unsigned>(EventReceived)) << failure;
        std::uint8_t buffer[16];
        const int n = device->Read(buffer, sizeof buffer, error);
        ASSERT_GE(n, 0);
        data.append(reinterpret_cast<char*>(buffer), static_cast<std::size_t>(n));
    }
    EXPECT_EQ(data, std::string({'\x02', IAC, 'B', '\x03'}));

    server.Send(Sub({'\x6B', '\x10'}));
    EXPECT_EQ(device->WaitEvent(failure), static_cast<unsigned>(EventDsrChanged));
    ModemLines lines;
    ASSERT_TRUE(device->GetModemLines(lines));
    EXPECT_TRUE(lines.cts);
    EXPECT_FALSE(lines.dsr);

    server.CloseClient();
    EXPECT_EQ(device->WaitEvent(failure), 0u);
    EXPECT_EQ(failure, "connection closed by the server");
    std::uint8_t byte;
    EXPECT_EQ(device->Read(&byte, 1, error), -1);
    EXPECT_EQ(device->Write(frame, 4, kWriteMs, written, error), WriteOutcome::Refused);
}

TEST(RawTcpDevice, CarriesBytesAsTheyAreAndEndsAWaitWhenTheServerGoes)
{
    ScriptedServer server;
    auto device = CreateRawTcpDevice(2000);
    auto serving = std::async(std::launch::async, [&] { server.Accept(); });
    ASSERT_EQ(device->Open(server.Address("socket")), 0);
    serving.get();
    ASSERT_TRUE(device->Configure(EightE1At19200(false)));
    ASSERT_TRUE(device->Watch(EventReceived));
    ModemLines lines;
    EXPECT_FALSE(device->HasModemLines());
    EXPECT_FALSE(device->GetModemLines(lines));

    int written = 0;
    int error = 0;
    const std::uint8_t frame[] = {0x02, 0xFF, 0x03};
    EXPECT_EQ(device->Write(frame, 3, kWriteMs, written, error), WriteOutcome::Completed);
    EXPECT_TRUE(server.ReadUntil({'\x02', IAC, '\x03'}));
    EXPECT_EQ(server.received.size(), 3u);

    server.Send({'\x02', IAC, '\x03'});
    std::string failure;
    ASSERT_EQ(device->WaitEvent(failure), static_cast<unsigned>(EventReceived));
    std::uint8_t buffer[8];
    ASSERT_EQ(device->Read(buffer, sizeof buffer, error), 3);
    EXPECT_EQ(buffer[1], 0xFF);

    server.CloseClient();
    EXPECT_EQ(device->WaitEvent(failure), 0u);
    EXPECT_EQ(failure, "connection closed by the server");
}

TEST(NetworkDevices, AnOpenThatCannotConnectIsNamed)
{
    struct Case {
        std::string url;
        const char* reason;
    };
    int closedPort = 0;
    { // a port that was listening a moment ago, and is no more
        ScriptedServer gone;
        closedPort = std::stoi(gone.Url("").substr(std::string("://127.0.0.1:").size()));
    }
    const std::string port = std::to_string(closedPort);
    const Case cases[] = {
        {"rfc2217://127.0.0.1:" + port, "connection refused"},
        {"socket://127.0.0.1:" + port, "connection refused"},
        {"socket://[::1]:" + port, "connection refused"},
        {"rfc2217://nohost.invalid:2217", "no such host"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.url);
        const PortAddress address = Parsed(c.url);
        auto device = CreateDevice(address, 1000);
        const int error = device->Open(address);
        EXPECT_NE(error, 0);
        EXPECT_EQ(OpenFailureReason(error, address), c.url + ": " + c.reason);
    }
}

} // namespace

namespace {

TEST(NetworkDevices, AConnectThatDoesNotCompleteGivesUpAtTheTimeOut)
{
    // A server that accepts nobody, with its queue full: further connects stay unanswered.
    const int listening = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listening, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listening, 0), 0);
    ::getsockname(listening, reinterpret_cast<sockaddr*>(&address), &length);
    std::vector<int> queued;
    for (int i = 0; i < 2; ++i) {
        queued.push_back(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
        ::connect(queued.back(), reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    const std::string port = std::to_string(ntohs(address.sin_port));
    for (const std::string& url : {"rfc2217://127.0.0.1:" + port, "socket://127.0.0.1:" + port}) {
        SCOPED_TRACE(url);
        const PortAddress address = Parsed(url);
        auto device = CreateDevice(address, 300);
        const int error = device->Open(address);
        EXPECT_EQ(OpenFailureReason(error, address), url + ": no connection within the time-out");
    }
    for (const int fd : queued)
        ::close(fd);
    ::close(listening);
}

} // namespace
