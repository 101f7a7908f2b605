// The CPU of a register read inside a vireoctl script, side by side in one run with a minimal C
// client (write, poll with a time-out, read) and, where Debian's python3-serial is installed, a
// pyserial loop: each a process of its own reading register 20 over and over from one instantly
// answering simulated camera (camsim on a pseudo-terminal). A process's CPU is its user and
// system time as wait4 reports it; each runs two lengths of reads, so that the difference is the
// reads' cost without start-up. The clients run in turn, round after round.
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
#include <poll.h>
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

// One request and its reply by the least a careful client can do: write, then wait for the
// reply with a time-out and read until ETX.
bool MinimalRead(int fd)
{
    if (::write(fd, kRequest, kRequestBytes) != static_cast<ssize_t>(kRequestBytes))
        return false;
    char reply[64];
    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 3000) != 1)
            return false;
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
    const std::string out = dir + "/out.txt";
    // Two lengths of the same work: the difference is what the reads cost, without start-up.
    const int lengths[2] = {reads, 3 * reads};
    std::string scripts[2];
    std::string expected[2];
    for (int i = 0; i < 2; ++i) {
        scripts[i] = dir + "/reads" + std::to_string(i) + ".txt";
        std::ofstream file(scripts[i]);
        for (int n = 0; n < lengths[i]; ++n) {
            file << "read 20\n";
            expected[i] += "34\n";
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

    // CPU seconds of each client and length, one figure a round.
    std::vector<double> ours[2];
    std::vector<double> minimal[2];
    std::vector<double> python[2];
    for (int round = 0; round < rounds; ++round) {
        for (int i = 0; i < 2; ++i) {
            const auto scriptCpu = ChildCpu(
                Start({VIREOCTL_PATH, "--port", port, "script", scripts[i]}, out, config.Path()));
            if (!scriptCpu || FileText(out) != expected[i]) {
                std::fprintf(stderr, "script_read_bench: the script failed\n");
                return 1;
            }
            ours[i].push_back(*scriptCpu);
            const auto minimalCpu = MinimalClient(port, lengths[i]);
            if (!minimalCpu) {
                std::fprintf(stderr, "script_read_bench: the minimal client failed\n");
                return 1;
            }
            minimal[i].push_back(*minimalCpu);
            if (pyserial) {
                const auto pythonCpu =
                    ChildCpu(Start({kPython, "-c", kPyserialLoop, port, std::to_string(lengths[i])},
                                   "/dev/null", config.Path()));
                if (!pythonCpu) {
                    std::fprintf(stderr, "script_read_bench: the pyserial loop failed\n");
                    return 1;
                }
                python[i].push_back(*pythonCpu);
            }
        }
    }
    RemoveTree(dir);

    // Other work on the machine only ever adds CPU time (cache misses, migrations), so the
    // least of the rounds is each run's own cost.
    const auto least = [](const std::vector<double>& v) {
        return *std::min_element(v.begin(), v.end());
    };
    const auto perRead = [&](const std::vector<double>* cpu) {
        return (least(cpu[1]) - least(cpu[0])) / (lengths[1] - lengths[0]);
    };
    const auto startUp = [&](const std::vector<double>* cpu) {
        return least(cpu[0]) - perRead(cpu) * lengths[0];
    };
    std::printf("%d and %d reads a process, %d rounds in turns, CPU (user + system), least of "
                "the rounds:\n",
                lengths[0], lengths[1], rounds);
    std::printf("  vireoctl script   %7.2f us a read, start-up %6.2f ms\n", perRead(ours) * 1e6,
                startUp(ours) * 1e3);
    std::printf("  minimal C client  %7.2f us a read, start-up %6.2f ms\n", perRead(minimal) * 1e6,
                startUp(minimal) * 1e3);
    if (pyserial)
        std::printf("  pyserial loop     %7.2f us a read, start-up %6.2f ms\n",
                    perRead(python) * 1e6, startUp(python) * 1e3);
    std::printf("vireoctl script over the minimal C client, a read: %.2f\n",
                perRead(ours) / perRead(minimal));
    if (pyserial)
        std::printf("vireoctl script over the pyserial loop, a read: %.2f\n",
                    perRead(ours) / perRead(python));
    return 0;
}
