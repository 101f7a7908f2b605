// Register round trips through the port facade over a pseudo-terminal, against the simulated
// camera answering at once and at 9600 baud wire speed. Figures are ratios: exchange time over
// the wire time of the frames, and CPU time (all threads of the process) over wall time.
#include "camera/RVXReg.h"
#include "comm/ComIF.h"
#include "bench/SimulatedPort.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

#include <sys/resource.h>

namespace {

constexpr std::size_t kReadRequestBytes = 6; // STX "20RQ" ETX
constexpr std::size_t kReadReplyBytes = 4;   // STX "34" ETX
using bench::kBaud;

double ProcessCpuSeconds()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

void ReadRegisterRoundTrip(benchmark::State& state)
{
    const int wireBaud = static_cast<int>(state.range(0));
    camsim::Camera camera;
    camera.SetFaults({camsim::Fault::None, false, 0, wireBaud});
    camsim::PtyServer server(camera);
    if (!bench::OpenSimulatedPort(server, state))
        return;
    CRVXReg reg(&g_ComIF);

    const auto wallStart = std::chrono::steady_clock::now();
    const double cpuStart = ProcessCpuSeconds();
    for (auto _ : state) {
        std::uint8_t value = 0;
        if (reg.ReadRegister(0x20, value) != 0) {
            state.SkipWithError("exchange failed");
            break;
        }
        benchmark::DoNotOptimize(value);
    }
    const double wall =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    const double cpu = ProcessCpuSeconds() - cpuStart;
    g_ComIF.Close();

    const double n = static_cast<double>(state.iterations());
    const double wireSeconds = 10.0 * (kReadRequestBytes + kReadReplyBytes) / kBaud;
    state.counters["exchange_over_wire_9600"] = wall / n / wireSeconds;
    state.counters["cpu_us_per_exchange"] = cpu / n * 1e6;
    state.counters["cpu_share_of_wall"] = cpu / wall;
}

} // namespace

// 0: the camera answers at once; 9600: it answers after the frames' wire time at 9600 baud.
BENCHMARK(ReadRegisterRoundTrip)->Arg(0)->Arg(kBaud)->UseRealTime()->MinTime(2.0);

BENCHMARK_MAIN();
