// Side by side in one run, on the same simulated camera (camsim, a process of its own) over a
// pseudo-terminal: register reads
// per second through our port and register code, through a minimal C client (write, poll, read)
// and, where Debian's python3-serial is installed, through a pyserial loop; a read's time over
// its exact wire time at 9600 and 230400 baud; and the CPU a process spends, per second of
// waiting, while a slow camera behind the simulated frame grabber thinks about its reply.
#include "camera/RVXReg.h"
#include "comm/ComIF.h"
#include "platform/camlink/ClLibrary.h"
#include "platform/profile/Profile.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

constexpr char kRequest[] = "\x02"
                            "20RQ"
                            "\x03";
constexpr std::size_t kRequestBytes = 6; // STX "20RQ" ETX
constexpr std::size_t kReplyBytes = 4;   // STX "34" ETX
// Each client runs in turn, round after round, and the medians are compared: the machine's load
// then weighs on every client alike.
constexpr int kReads = 300;
constexpr int kRounds = 15;
constexpr int kWireReads = 30;
constexpr int kWireRounds = 5;

using Clock = std::chrono::steady_clock;

double Since(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double ProcessCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// camsim serving one camera on a pseudo-terminal, as its own process.
class Simulator {
public:
    explicit Simulator(int wireBaud)
    {
        int out[2];
        if (::pipe(out) != 0)
            return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::dup2(out[1], STDOUT_FILENO);
            ::close(out[0]);
            ::close(out[1]);
            const std::string baud = std::to_string(wireBaud);
            if (wireBaud > 0)
                ::execl(CAMSIM_PATH, CAMSIM_PATH, "--baud", baud.c_str(),
                        static_cast<char*>(nullptr));
            else
                ::execl(CAMSIM_PATH, CAMSIM_PATH, static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(out[1]);
        // The first line is the device path, written once the camera answers.
        char line[256];
        FILE* in = ::fdopen(out[0], "r");
        if (in && std::fgets(line, sizeof line, in)) {
            m_path = line;
            if (!m_path.empty() && m_path.back() == '\n')
                m_path.pop_back();
        }
        if (in)
            std::fclose(in);
        else
            ::close(out[0]);
    }
    ~Simulator()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
    }
    const std::string& Path() const { return m_path; }

private:
    pid_t m_pid = -1;
    std::string m_path;
};

double WireSeconds(int baud)
{
    return 10.0 * (kRequestBytes + kReplyBytes) / baud;
}

// Seconds per read through the port facade and the register protocol; negative on a failure.
double OurReads(const std::string& path, benchmark::State& state, int count)
{
    g_ComIF.PortType = PORT_RS232C;
    CComSettings& settings = g_ComIF.m_Rs232c.m_Settings;
    settings.PortName = path;
    settings.BaudRate = 9600;
    settings.ByteSize = 8;
    settings.HsTimeOut = 3000;
    settings.Prefix = 2;
    settings.Suffix = 3;
    if (!g_ComIF.Open()) {
        state.SkipWithError("the port did not open");
        return -1;
    }
    CRVXReg reg(&g_ComIF);
    std::uint8_t value = 0;
    double seconds = -1;
    if (reg.ReadRegister(0x20, value) == 0) {
        const auto start = Clock::now();
        int done = 0;
        while (done < count && reg.ReadRegister(0x20, value) == 0)
            ++done;
        if (done == count)
            seconds = Since(start) / count;
    }
    g_ComIF.Close();
    if (seconds < 0)
        state.SkipWithError("a read through the port facade failed");
    return seconds;
}

// One request and its reply by the least a client can do: write, then poll and read until ETX.
bool MinimalRead(int fd)
{
    if (::write(fd, kRequest, kRequestBytes) != static_cast<ssize_t>(kRequestBytes))
        return false;
    char reply[64];
    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        if (::poll(&ready, 1, 3000) <= 0)
            return false;
        const ssize_t n = ::read(fd, reply, sizeof reply);
        if (n <= 0)
            return false;
        if (std::memchr(reply, 0x03, static_cast<std::size_t>(n)))
            return true;
    }
}

// Seconds per read of the minimal client; negative on a failure.
double MinimalClientReads(const std::string& path, int count)
{
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    termios raw{};
    if (::tcgetattr(fd, &raw) == 0) {
        ::cfmakeraw(&raw);
        ::tcsetattr(fd, TCSANOW, &raw);
    }
    double seconds = -1;
    if (MinimalRead(fd)) {
        const auto start = Clock::now();
        int done = 0;
        while (done < count && MinimalRead(fd))
            ++done;
        if (done == count)
            seconds = Since(start) / count;
    }
    ::close(fd);
    return seconds;
}

// The pyserial loop: the reply's length is known, so it reads exactly that.
constexpr char kPyserialLoop[] = R"(
import sys, time, serial
port = serial.Serial(sys.argv[1], 9600, timeout=3)
count = int(sys.argv[2])
request = b"\x0220RQ\x03"
def read():
    port.write(request)
    if len(port.read(4)) != 4:
        sys.exit(1)
read()
start = time.perf_counter()
for _ in range(count):
    read()
print(time.perf_counter() - start)
)";

constexpr char kPython[] = "/usr/bin/python3";

bool PyserialInstalled()
{
    const std::string command = std::string(kPython) + " -c 'import serial' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

// Seconds per read of the pyserial loop; negative when it failed.
double PyserialReads(const std::string& path, int count)
{
    const std::string command =
        std::string(kPython) + " -c '" + kPyserialLoop + "' " + path + " " + std::to_string(count);
    FILE* out = ::popen(command.c_str(), "r");
    if (!out)
        return -1;
    double seconds = -1;
    if (std::fscanf(out, "%lf", &seconds) != 1)
        seconds = -1;
    if (::pclose(out) != 0)
        return -1;
    return seconds / count;
}

// Reads from an instant camera: our rate against the minimal client's and pyserial's.
void ReadsPerSecondSideBySide(benchmark::State& state)
{
    const Simulator simulator(0);
    if (simulator.Path().empty()) {
        state.SkipWithError("camsim did not start");
        return;
    }
    const bool pyserialInstalled = PyserialInstalled();
    for (auto _ : state) {
        std::vector<double> ours;
        std::vector<double> minimal;
        std::vector<double> pyserial;
        for (int round = 0; round < kRounds; ++round) {
            ours.push_back(OurReads(simulator.Path(), state, kReads));
            minimal.push_back(MinimalClientReads(simulator.Path(), kReads));
            if (pyserialInstalled)
                pyserial.push_back(PyserialReads(simulator.Path(), kReads));
        }
        if (*std::min_element(ours.begin(), ours.end()) < 0)
            return;
        if (*std::min_element(minimal.begin(), minimal.end()) < 0) {
            state.SkipWithError("the minimal client's read failed");
            return;
        }
        const double oursTime = Median(ours);
        const double minimalTime = Median(minimal);
        state.counters["ours_reads_per_s"] = 1 / oursTime;
        state.counters["minimal_c_reads_per_s"] = 1 / minimalTime;
        state.counters["ours_time_over_minimal_c"] = oursTime / minimalTime;
        if (pyserialInstalled) {
            if (*std::min_element(pyserial.begin(), pyserial.end()) < 0) {
                state.SkipWithError("the pyserial loop failed");
                return;
            }
            state.counters["pyserial_reads_per_s"] = 1 / Median(pyserial);
            state.counters["ours_rate_over_pyserial"] = Median(pyserial) / oursTime;
        }
    }
}

// A read from a camera that keeps the exact wire time, over that wire time.
void ReadOverWireTime(benchmark::State& state)
{
    const int baud = static_cast<int>(state.range(0));
    const Simulator simulator(baud);
    if (simulator.Path().empty()) {
        state.SkipWithError("camsim did not start");
        return;
    }
    for (auto _ : state) {
        std::vector<double> ours;
        std::vector<double> minimal;
        for (int round = 0; round < kWireRounds; ++round) {
            ours.push_back(OurReads(simulator.Path(), state, kWireReads));
            minimal.push_back(MinimalClientReads(simulator.Path(), kWireReads));
        }
        if (*std::min_element(ours.begin(), ours.end()) < 0)
            return;
        if (*std::min_element(minimal.begin(), minimal.end()) < 0) {
            state.SkipWithError("the minimal client's read failed");
            return;
        }
        state.counters["ours_over_wire"] = Median(ours) / WireSeconds(baud);
        state.counters["minimal_c_over_wire"] = Median(minimal) / WireSeconds(baud);
    }
}

// One read from a Camera Link camera that answers after a second: the process's CPU time over
// the wall time of the wait, the share of one core the waiting costs.
void CameraLinkWaitCpu(benchmark::State& state)
{
    // The user's stored settings are neither read nor changed.
    profile::SetStoreDirectory("/tmp/vireo-peer-bench-" + std::to_string(::getpid()));
    profile::SetReadOnly(true);
    setenv(camlink::kLibraryVariable, CLSIM_PATH, 1);
    setenv("CLSIM_CONFIG", "models=RV1240DLX;delay=1000", 1);
    g_ComIF.Initialize();
    g_ComIF.PortType = PORT_CAMERALINK;
    if (g_ComIF.m_Cas.SelectPort(0) != 1 || g_ComIF.Open() != 1) {
        state.SkipWithError("the simulated grabber's port did not open");
        return;
    }
    CRVXReg reg(&g_ComIF);
    double cpuSum = 0;
    double wallSum = 0;
    for (auto _ : state) {
        std::uint8_t value = 0;
        const auto start = Clock::now();
        const double cpuStart = ProcessCpuSeconds();
        const CResult result = reg.ReadRegister(0x20, value);
        const double cpu = ProcessCpuSeconds() - cpuStart;
        const double wall = Since(start);
        if (result != 0) {
            state.SkipWithError("the Camera Link read failed");
            break;
        }
        cpuSum += cpu;
        wallSum += wall;
    }
    if (wallSum > 0)
        state.counters["cl_wait_cpu_share_of_core"] = cpuSum / wallSum;
    g_ComIF.Close();
}

} // namespace

BENCHMARK(ReadsPerSecondSideBySide)->Iterations(1)->UseRealTime();
BENCHMARK(ReadOverWireTime)->Arg(9600)->Arg(230400)->Iterations(1)->UseRealTime();
BENCHMARK(CameraLinkWaitCpu)->Iterations(3)->UseRealTime();

BENCHMARK_MAIN();
