#include "tests/support/Ser2netServer.h"

#include "tests/support/Process.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {
namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kPollStep = std::chrono::milliseconds(20);

// Whether a socket listens on 127.0.0.1:port, read from the kernel's table.
bool Listening(int port)
{
    std::ifstream table("/proc/net/tcp");
    std::string line;
    std::getline(table, line); // the heading
    char wanted[32];
    std::snprintf(wanted, sizeof wanted, "0100007F:%04X", port);
    while (std::getline(table, line)) {
        std::istringstream fields(line);
        std::string slot, local, remote, state;
        fields >> slot >> local >> remote >> state;
        if (local == wanted && state == "0A")
            return true;
    }
    return false;
}

std::string MakeDir()
{
    char pattern[] = "/tmp/vireo-ser2net-XXXXXX";
    const char* made = ::mkdtemp(pattern);
    return made ? made : "";
}

} // namespace

int FreeLoopbackPort()
{
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        ::close(fd);
    return port;
}

std::string Ser2netServer::Program()
{
    for (const char* path : {"/usr/sbin/ser2net", "/usr/bin/ser2net"})
        if (::access(path, X_OK) == 0)
            return path;
    return {};
}

Ser2netServer::~Ser2netServer()
{
    Stop();
    if (!m_dir.empty()) {
        for (const char* name : {"/ser2net.yaml", "/ser2net.pid"})
            ::unlink((m_dir + name).c_str());
        ::rmdir(m_dir.c_str());
    }
}

bool Ser2netServer::Start(const std::string& devicePath, std::string& failure)
{
    return Start(std::vector<std::string>{devicePath}, failure);
}

bool Ser2netServer::Start(const std::vector<std::string>& devicePaths, std::string& failure)
{
    const std::string program = Program();
    if (program.empty()) {
        failure = "ser2net is not installed";
        return false;
    }
    m_dir = MakeDir();
    m_devices = devicePaths;
    std::vector<int> taken;
    const auto freshPort = [&taken] {
        int port = 0;
        do {
            port = FreeLoopbackPort();
        } while (std::find(taken.begin(), taken.end(), port) != taken.end());
        taken.push_back(port);
        return port;
    };
    m_rfc2217Ports.clear();
    for (std::size_t i = 0; i < devicePaths.size(); ++i)
        m_rfc2217Ports.push_back(freshPort());
    m_rawPort = freshPort();
    const std::string config = m_dir + "/ser2net.yaml";
    {
        std::ofstream out(config);
        for (std::size_t i = 0; i < devicePaths.size(); ++i)
            out << "connection: &rfc2217_" << i << "\n"
                << "  accepter: telnet(rfc2217),tcp,127.0.0.1," << m_rfc2217Ports[i] << "\n"
                << "  connector: serialdev," << devicePaths[i] << ",9600n81,local\n";
        out << "connection: &raw\n"
            << "  accepter: tcp,127.0.0.1," << m_rawPort << "\n"
            << "  connector: serialdev," << m_devices.front() << ",9600n81,local\n";
    }
    const std::vector<std::string> argv{program, "-n",   "-d", "-u",
                                        "-c",    config, "-P", m_dir + "/ser2net.pid"};
    // Its chatter on standard output is not the test's; it ends with the test that started it.
    const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    m_pid = StartProgram(argv, {}, null, null, true);
    ::close(null);
    const auto deadline = Clock::now() + std::chrono::seconds(10);
    const auto allListening = [this] {
        return Listening(m_rawPort) &&
               std::all_of(m_rfc2217Ports.begin(), m_rfc2217Ports.end(), Listening);
    };
    while (!allListening()) {
        int status = 0;
        if (::waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            failure = "ser2net ended at start";
            return false;
        }
        if (Clock::now() > deadline) {
            failure = "ser2net does not listen";
            Stop();
            return false;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    return true;
}

void Ser2netServer::Stop()
{
    End(SIGTERM);
}

void Ser2netServer::Kill()
{
    End(SIGKILL);
}

void Ser2netServer::End(int signal)
{
    const int pid = m_pid.exchange(-1);
    if (pid <= 0)
        return;
    ::kill(pid, signal);
    int status = 0;
    ::waitpid(pid, &status, 0);
}

std::string Ser2netServer::Rfc2217Url(std::size_t device) const
{
    return "rfc2217://127.0.0.1:" + std::to_string(m_rfc2217Ports.at(device));
}

std::string Ser2netServer::RawUrl() const
{
    return "socket://127.0.0.1:" + std::to_string(m_rawPort);
}

bool Ser2netServer::WaitDeviceReleased(double seconds) const
{
    const int pid = m_pid;
    if (pid <= 0)
        return true;
    const std::string fdDir = "/proc/" + std::to_string(pid) + "/fd";
    const auto deadline = Clock::now() + std::chrono::duration<double>(seconds);
    for (;;) {
        bool held = false;
        if (DIR* dir = ::opendir(fdDir.c_str())) {
            while (const dirent* entry = ::readdir(dir)) {
                char target[512];
                const std::string link = fdDir + "/" + entry->d_name;
                const ssize_t n = ::readlink(link.c_str(), target, sizeof target - 1);
                if (n > 0 &&
                    std::find(m_devices.begin(), m_devices.end(),
                              std::string(target, static_cast<std::size_t>(n))) != m_devices.end())
                    held = true;
            }
            ::closedir(dir);
        }
        if (!held)
            return true;
        if (Clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(kPollStep);
    }
}

} // namespace testing_support
