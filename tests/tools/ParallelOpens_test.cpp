// Network cameras of one command are connected at once, each within its own time-out, and their
// results are printed in target order as soon as each is known: a server that accepts but never
// negotiates holds back only its own camera's block and those after it, for its time-out alone.
#include "tests/support/Process.h"
#include "tests/support/PtyCamera.h"
#include "tests/support/Ser2netServer.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testing_support;
using Clock = std::chrono::steady_clock;

namespace {

// Accepts connections on a loopback port and never says a word.
class SilentServer {
public:
    SilentServer()
    {
        m_fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
            ::listen(m_fd, 4) == 0 &&
            ::getsockname(m_fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
            m_port = ntohs(address.sin_port);
    }
    ~SilentServer() { ::close(m_fd); }
    std::string Url() const { return "rfc2217://127.0.0.1:" + std::to_string(m_port); }

private:
    int m_fd = -1;
    int m_port = 0;
};

struct TimedLine {
    std::string text;
    double seconds; // since the program started
};

// Runs the program and notes when each line of its standard output came.
std::vector<TimedLine> RunTimed(const std::vector<std::string>& argv,
                                const std::vector<std::string>& environment)
{
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0)
        return {};
    const auto start = Clock::now();
    const pid_t pid = StartProgram(argv, environment, out[1], -1, true);
    ::close(out[1]);
    std::vector<TimedLine> lines;
    std::string partial;
    const auto deadline = start + std::chrono::seconds(30);
    for (;;) {
        pollfd entry{out[0], POLLIN, 0};
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0 || ::poll(&entry, 1, static_cast<int>(left.count())) <= 0)
            break;
        char bytes[4096];
        const ssize_t n = ::read(out[0], bytes, sizeof bytes);
        if (n <= 0)
            break;
        const double at = std::chrono::duration<double>(Clock::now() - start).count();
        partial.append(bytes, static_cast<std::size_t>(n));
        for (std::size_t end; (end = partial.find('\n')) != std::string::npos;) {
            lines.push_back({partial.substr(0, end), at});
            partial.erase(0, end + 1);
        }
    }
    ::close(out[0]);
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
    return lines;
}

} // namespace

TEST(ParallelOpens, AStalledServerAmongEightDelaysOnlyItsOwnLine)
{
    if (Ser2netServer::Program().empty())
        GTEST_SKIP() << "ser2net is not installed (apt-get install ser2net)";
    constexpr std::size_t kStalled = 3;
    constexpr double kTimeOut = 2.0;
    std::vector<std::unique_ptr<PtyCamera>> cameras;
    std::vector<std::string> devices;
    std::string failure;
    for (int i = 0; i < 7; ++i) {
        cameras.push_back(std::make_unique<PtyCamera>());
        ASSERT_TRUE(cameras.back()->Start(failure)) << failure;
        devices.push_back(cameras.back()->Path());
    }
    Ser2netServer server;
    ASSERT_TRUE(server.Start(devices, failure)) << failure;
    SilentServer silent;
    ScopedSettingsDir config;
    std::vector<std::string> argv{VIREOCTL_PATH, "--timeout", "2000"};
    std::vector<std::string> targets;
    for (std::size_t i = 0, device = 0; i < 8; ++i) {
        targets.push_back(i == kStalled ? silent.Url() : server.Rfc2217Url(device++));
        argv.insert(argv.end(), {"--port", targets.back()});
    }
    argv.push_back("identify");
    const auto lines =
        RunTimed(argv, {"XDG_CONFIG_HOME=" + config.Path(), "XDG_RUNTIME_DIR=" + config.Path()});

    // Each camera's block, in target order, and when its heading came.
    std::vector<double> headed;
    for (const TimedLine& line : lines)
        if (line.text.size() > 2 && line.text.front() == '[') {
            ASSERT_LT(headed.size(), targets.size());
            EXPECT_EQ(line.text, "[" + targets[headed.size()] + "]");
            headed.push_back(line.seconds);
        }
    ASSERT_EQ(headed.size(), targets.size());
    for (std::size_t i = 0; i < targets.size(); ++i) {
        SCOPED_TRACE(targets[i]);
        if (i < kStalled) {
            EXPECT_LT(headed[i], kTimeOut * 0.75) << "held back by the stalled server";
        } else {
            EXPECT_GE(headed[i], kTimeOut * 0.9) << "printed before the camera ahead of it";
            // All were connected at once, and a server that says nothing costs its camera one
            // time-out: waiting for its camera's reply as well would double it.
            EXPECT_LT(headed[i], kTimeOut * 1.5);
        }
    }
}
