// A setting page's Refresh over a pseudo-terminal against the simulated camera answering at 9600
// baud wire speed. Figures are ratios: the Refresh's time over the summed wire time of its
// frames (the simulated camera keeps exactly that delay), and the Refresh with the log window
// attached over the Refresh without it, measured alternately in the same run.
#include "app/LogDlg.h"
#include "app/VireoApp.h"
#include "camera/RVX1240Reg.h"
#include "comm/ComIF.h"
#include "pages/rv1240/Cmd40Shatter.h"
#include "res/ids/Rv1240.h"
#include "res/Resources.h"
#include "bench/SimulatedPort.h"

#include <benchmark/benchmark.h>

#include <QAbstractButton>
#include <QApplication>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace {

constexpr std::size_t kReadRequestBytes = 6; // STX "68RQ" ETX
constexpr std::size_t kReadReplyBytes = 4;   // STX "55" ETX
constexpr int kShutterPageReads = 7;
using bench::kBaud;

using Clock = std::chrono::steady_clock;

// The exact wire time of one Refresh's frames, in seconds.
double RefreshWireTime()
{
    return kShutterPageReads * 10.0 * (kReadRequestBytes + kReadReplyBytes) / kBaud;
}

double Median(std::vector<double> values)
{
    const auto middle = values.begin() + static_cast<std::ptrdiff_t>(values.size() / 2);
    std::nth_element(values.begin(), middle, values.end());
    return *middle;
}

// The shutter page on a simulated RV1240DLX at 9600 baud, with the register map in place.
class Rig {
public:
    explicit Rig(benchmark::State& state) : m_server(m_camera)
    {
        m_camera.SetFaults({camsim::Fault::None, false, 0, kBaud});
        m_ok = bench::OpenSimulatedPort(m_server, state);
        theApp.m_pReg1240 = &m_map;
        theApp.m_pBaseReg1240 = &m_map;
        m_page.Create(&m_host);
    }
    ~Rig()
    {
        theApp.m_pReg1240 = nullptr;
        theApp.m_pBaseReg1240 = nullptr;
        g_ComIF.Close();
    }
    bool Ok() const { return m_ok; }

    // One press of Refresh, as a user's click runs it, and the user interface's work that
    // follows it; false when the page did not read its registers.
    bool Refresh()
    {
        m_camera.ClearRequests();
        if (auto* button = qobject_cast<QAbstractButton*>(m_page.GetDlgItem(IDC_40SHUT_REFRESH)))
            button->click();
        // The events the first pass posts (the log window's repaint after its layout) and
        // theirs in turn belong to this Refresh, not to the next one measured.
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::processEvents();
        return m_camera.Requests().size() == kShutterPageReads;
    }

private:
    camsim::Camera m_camera{camsim::Model::RV1240DLX};
    camsim::PtyServer m_server;
    bool m_ok = false;
    CRVX1240Reg m_map{&g_ComIF};
    QWidget m_host; // outlives the page it holds
    CCmd40Shatter m_page{&theApp.m_pReg1240};
};

void ShutterPageRefresh(benchmark::State& state)
{
    Rig rig(state);
    if (!rig.Ok())
        return;
    const auto start = Clock::now();
    for (auto _ : state)
        if (!rig.Refresh()) {
            state.SkipWithError("the page did not read its seven registers");
            break;
        }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    state.counters["refresh_over_wire_9600"] =
        wall / static_cast<double>(state.iterations()) / RefreshWireTime();
}

// Refreshes alternately with the log window attached (every record shown in it) and without a
// log window, so that both see the same machine load.
void ShutterPageRefreshWithLogWindow(benchmark::State& state)
{
    Rig rig(state);
    if (!rig.Ok())
        return;
    CLogDlg log;
    log.Create(nullptr);
    log.ShowWindow(true);
    std::vector<double> with;
    std::vector<double> without;
    bool attached = false;
    for (auto _ : state) {
        attached = !attached;
        g_pLogDlg = attached ? &log : nullptr;
        const auto start = Clock::now();
        const bool ok = rig.Refresh();
        const double took = std::chrono::duration<double>(Clock::now() - start).count();
        if (!ok) {
            state.SkipWithError("the page did not read its seven registers");
            break;
        }
        (attached ? with : without).push_back(took);
    }
    g_pLogDlg = nullptr;
    if (log.m_tabComm.Text().find("RCV : ") == std::string::npos) {
        state.SkipWithError("the log window received no records");
        return;
    }
    if (with.empty() || without.empty())
        return;
    // Medians, so that a refresh the loaded machine delayed does not count for one side.
    const double withMedian = Median(with);
    const double withoutMedian = Median(without);
    state.counters["refresh_with_log_over_without"] = withMedian / withoutMedian;
    state.counters["refresh_with_log_over_wire_9600"] = withMedian / RefreshWireTime();
    state.counters["refresh_without_log_over_wire_9600"] = withoutMedian / RefreshWireTime();
}

} // namespace

BENCHMARK(ShutterPageRefresh)->UseRealTime()->MinTime(2.0);
BENCHMARK(ShutterPageRefreshWithLogWindow)->UseRealTime()->MinTime(4.0);

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
