// The CPU of a register read inside a vireoctl script, side by side in one run with a minimal C
// client (write, then a blocking read) and, where Debian's python3-serial is installed, a
// pyserial loop: each a process of its own reading register 20 over and over from one instantly
// answering simulated camera (camsim on a pseudo-terminal). A process's CPU is its user and
// system time as wait4 reports it, start-up included; the clients run in turn, round after
// round, and the medians are compared.
//
//   script_read_bench [READS] [ROUNDS]     (default 2000 and 7)
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

using namespace testing_support;

namespace {

constexpr char kRequest[] = "\x02"
                            "20RQ\x03";
constexpr std::size_t kRequestBytes = 6;
constexpr char kPython[] = "/usr/bin/python3";

// The pyserial loop: the reply's length is known, so it reads exactly that.
constexpr char kPyserialLoop[] = R"(
import sys, serial
port = serial.Serial(sys.argv[1], 9600, timeout=3)
request = b"\x0220RQ\x03"
for _ in range(int(sys.argv[2])):
    port.write(request)
    if len(port.read(4)) != 4:
        sys.exit(1)
)";

double Seconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// Waits for the child; its user and system seconds, or nothing when it failed.
std::optional<double> ChildCpu(pid_t pid)
{
    int status = 0;
    rusage usage{};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) ||
        WEXITSTATUS(status) != 0)
        return std::nullopt;
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

// One request and its reply by the least a client can do: write, then read until ETX.
bool MinimalRead(int fd)
{
    if (::write(fd, kRequest, kRequestBytes) != static_cast<ssize_t>(kRequestBytes))
        return false;
    char reply[64];
    for (;;) {
        const ssize_t n = ::read(fd, reply, sizeof reply);
        if (n <= 0)
            return false;
        if (std::memchr(reply, 0x03, static_cast<std::size_t>(n)))
            return true;
    }
}

// The minimal client as a child of its own, forked without a program to load.
std::optional<double> MinimalClient(const std::string& path, int reads)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY);
        termios raw{};
        if (fd < 0 || ::tcgetattr(fd, &raw) != 0)
            ::_exit(1);
        ::cfmakeraw(&raw); // blocking reads of at least one byte
        if (::tcsetattr(fd, TCSANOW, &raw) != 0)
            ::_exit(1);
        for (int i = 0; i < reads; ++i)
            if (!MinimalRead(fd))
                ::_exit(1);
        ::_exit(0);
    }
    return ChildCpu(pid);
}

// Runs argv with standard output to outPath and standard error to /dev/null.
pid_t Start(const std::vector<std::string>& argv, const std::string& outPath,
            const std::string& configDir)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    const int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int null = ::open("/dev/null", O_WRONLY);
    if (out < 0 || null < 0 || ::dup2(out, STDOUT_FILENO) < 0 || ::dup2(null, STDERR_FILENO) < 0)
        ::_exit(127);
    ::setenv("XDG_CONFIG_HOME", configDir.c_str(), 1);
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    ::execv(args[0], args.data());
    ::_exit(127);
}

std::string FileText(const std::string& path)
{
    std::ifstream in(path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool PyserialInstalled()
{
    const std::string command = std::string(kPython) + " -c 'import serial' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int reads = argc > 1 ? std::atoi(argv[1]) : 2000;
    const int rounds = argc > 2 ? std::atoi(argv[2]) : 7;
    if (reads <= 0 || rounds <= 0) {
        std::fprintf(stderr, "usage: script_read_bench [READS] [ROUNDS]\n");
        return 2;
    }
    ScopedSettingsDir config;
    const std::string dir = MakeTempDir("script-read-bench");
    const std::string script = dir + "/reads.txt";
    const std::string out = dir + "/out.txt";
    std::string expected;
    {
        std::ofstream file(script);
        for (int i = 0; i < reads; ++i) {
            file << "read 20\n";
            expected += "34\n";
        }
    }
    BackgroundProcess camera({CAMSIM_PATH});
    const std::string port = camera.FirstLine();
    if (port.empty()) {
        std::fprintf(stderr, "script_read_bench: camsim did not start\n");
        return 1;
    }
    const bool pyserial = PyserialInstalled();
    if (!pyserial)
        std::printf("pyserial loop: skipped, %s cannot import serial (apt-get install "
                    "python3-serial)\n",
                    kPython);

    std::vector<double> ours;
    std::vector<double> minimal;
    std::vector<double> python;
    for (int round = 0; round < rounds; ++round) {
        const auto scriptCpu =
            ChildCpu(Start({VIREOCTL_PATH, "--port", port, "script", script}, out, config.Path()));
        if (!scriptCpu || FileText(out) != expected) {
            std::fprintf(stderr, "script_read_bench: the script failed\n");
            return 1;
        }
        ours.push_back(*scriptCpu / reads);
        const auto minimalCpu = MinimalClient(port, reads);
        if (!minimalCpu) {
            std::fprintf(stderr, "script_read_bench: the minimal client failed\n");
            return 1;
        }
        minimal.push_back(*minimalCpu / reads);
        if (pyserial) {
            const auto pythonCpu =
                ChildCpu(Start({kPython, "-c", kPyserialLoop, port, std::to_string(reads)},
                               "/dev/null", config.Path()));
            if (!pythonCpu) {
                std::fprintf(stderr, "script_read_bench: the pyserial loop failed\n");
                return 1;
            }
            python.push_back(*pythonCpu / reads);
        }
    }
    RemoveTree(dir);

    std::printf("%d reads a process, median of %d rounds, CPU (user + system) per read:\n", reads,
                rounds);
    std::printf("  vireoctl script   %7.2f us\n", Median(ours) * 1e6);
    std::printf("  minimal C client  %7.2f us\n", Median(minimal) * 1e6);
    if (pyserial)
        std::printf("  pyserial loop     %7.2f us\n", Median(python) * 1e6);
    std::printf("vireoctl script over the minimal C client: %.2f\n",
                Median(ours) / Median(minimal));
    if (pyserial)
        std::printf("vireoctl script over the pyserial loop: %.2f\n",
                    Median(ours) / Median(python));
    return 0;
}
