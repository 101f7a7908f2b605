// A setting page's Refresh over a pseudo-terminal against the simulated camera answering at 9600
// baud wire speed. Figures are ratios: the Refresh's time over the summed wire time of its frames,
// and over the delay the simulated camera itself keeps (it rounds each reply up to whole
// milliseconds), which is the best any page could do against it.
#include "app/VireoApp.h"
#include "camera/RVX1240Reg.h"
#include "comm/ComIF.h"
#include "pages/rv1240/Cmd40Shatter.h"
#include "res/Resources.h"
#include "bench/SimulatedPort.h"

#include <benchmark/benchmark.h>

#include <QApplication>

#include <chrono>
#include <cstdlib>

namespace {

constexpr std::size_t kReadRequestBytes = 6; // STX "68RQ" ETX
constexpr std::size_t kReadReplyBytes = 4;   // STX "55" ETX
constexpr int kShutterPageReads = 7;
using bench::kBaud;

void ShutterPageRefresh(benchmark::State& state)
{
    camsim::Camera camera(camsim::Model::RV1240DLX);
    camera.SetFaults({camsim::Fault::None, false, 0, kBaud});
    camsim::PtyServer server(camera);
    if (!bench::OpenSimulatedPort(server, state))
        return;
    CRVX1240Reg map(&g_ComIF);
    theApp.m_pReg1240 = &map;
    theApp.m_pBaseReg1240 = &map;
    {
        // The host outlives the page it holds.
        QWidget host;
        CCmd40Shatter page;
        page.Create(&host);

        const auto start = std::chrono::steady_clock::now();
        for (auto _ : state) {
            camera.ClearRequests();
            page.Refresh();
            if (camera.Requests().size() != kShutterPageReads) {
                state.SkipWithError("the page did not read its seven registers");
                break;
            }
        }
        const double wall =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const double n = static_cast<double>(state.iterations());
        const double wire =
            kShutterPageReads * 10.0 * (kReadRequestBytes + kReadReplyBytes) / kBaud;
        const double simulated = kShutterPageReads *
                                 camsim::WireTimeMs(kBaud, kReadRequestBytes, kReadReplyBytes) /
                                 1000.0;
        state.counters["refresh_over_wire_9600"] = wall / n / wire;
        state.counters["refresh_over_camera_delay"] = wall / n / simulated;
    }
    theApp.m_pReg1240 = nullptr;
    theApp.m_pBaseReg1240 = nullptr;
    g_ComIF.Close();
}

} // namespace

BENCHMARK(ShutterPageRefresh)->UseRealTime()->MinTime(2.0);

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    res::Install();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
