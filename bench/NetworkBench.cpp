// A register read over the network, through the system's ser2net on loopback, against the same
// read on the device itself, in one run: the figures are the ratios of the time per read. The
// camera answers at once, or after the frames' wire time at 9600 baud. ser2net holds what the
// device sends for about two characters' time before it forwards it (its "chardelay").
#include "bench/SimulatedPort.h"
#include "camera/RVXReg.h"
#include "comm/ComIF.h"
#include "tests/support/Ser2netServer.h"

#include <benchmark/benchmark.h>

#include <chrono>

namespace {

constexpr int kReadsPerBlock = 100;

// Opens the port by name, reads register 0x20 kReadsPerBlock times and closes it; the seconds
// the reads took, or a negative value when the port failed.
double TimeReads(const std::string& portName)
{
    g_ComIF.m_Rs232c.m_Settings.PortName = portName;
    if (!g_ComIF.Open())
        return -1;
    CRVXReg reg(&g_ComIF);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kReadsPerBlock; ++i) {
        std::uint8_t value = 0;
        if (reg.ReadRegister(0x20, value) != 0) {
            g_ComIF.Close();
            return -1;
        }
        benchmark::DoNotOptimize(value);
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    g_ComIF.Close();
    return seconds;
}

void NetworkReadOverDeviceRead(benchmark::State& state)
{
    if (testing_support::Ser2netServer::Program().empty()) {
        state.SkipWithError("ser2net is not installed");
        return;
    }
    camsim::Camera camera;
    camera.SetFaults({camsim::Fault::None, false, 0, static_cast<int>(state.range(0))});
    camsim::PtyServer server(camera);
    if (!bench::OpenSimulatedPort(server, state))
        return;
    g_ComIF.Close();
    testing_support::Ser2netServer ser2net;
    std::string failure;
    if (!ser2net.Start(server.SlavePath(), failure)) {
        state.SkipWithError(failure.c_str());
        return;
    }
    const std::string ports[] = {server.SlavePath(), ser2net.Rfc2217Url(), ser2net.RawUrl()};
    double seconds[3] = {0, 0, 0};
    for (auto _ : state) {
        // Blocks on each port in turn, so that a drift of the machine touches all alike.
        for (int i = 0; i < 3; ++i) {
            ser2net.WaitDeviceReleased();
            const double block = TimeReads(ports[i]);
            if (block < 0) {
                state.SkipWithError(("reads failed on " + ports[i]).c_str());
                return;
            }
            seconds[i] += block;
        }
    }
    state.counters["rfc2217_over_device"] = seconds[1] / seconds[0];
    state.counters["raw_tcp_over_device"] = seconds[2] / seconds[0];
}

} // namespace

BENCHMARK(NetworkReadOverDeviceRead)->Arg(0)->Arg(bench::kBaud)->UseRealTime()->MinTime(3.0);

BENCHMARK_MAIN();
