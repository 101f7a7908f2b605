// One vireoctl command against the least a program can do for the same read: `vireoctl read 20`
// and a minimal C client (bench/OneReadClient.c), each a process of its own on one simulated
// camera that answers at once, run in turns ROUNDS times; the ratio of their median wall times.
//
//   one_command_bench [ROUNDS]     (default 41)
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 41;
    ScopedSettingsDir config;
    CamsimProgram camera(CAMSIM_PATH, {});
    if (camera.device.empty()) {
        std::fprintf(stderr, "one_command_bench: camsim did not start\n");
        return 1;
    }
    const std::vector<std::string> environment{"XDG_CONFIG_HOME=" + config.Path(),
                                               "XDG_RUNTIME_DIR=" + config.Path()};
    const std::vector<std::string> ours{VIREOCTL_PATH, "--port", camera.device, "read", "20"};
    const std::vector<std::string> peer{CLIENT_PATH, camera.device};
    std::vector<double> oursSeconds;
    std::vector<double> peerSeconds;
    for (int round = 0; round < rounds; ++round) {
        // In turns, so that a slow spell of the machine falls on both alike.
        const ProcessResult a = RunProcess(round % 2 ? ours : peer, environment);
        const ProcessResult b = RunProcess(round % 2 ? peer : ours, environment);
        const ProcessResult& o = round % 2 ? a : b;
        const ProcessResult& p = round % 2 ? b : a;
        if (o.exitStatus != 0 || p.exitStatus != 0 || o.out != p.out) {
            std::fprintf(stderr, "one_command_bench: the reads disagree (%d \"%s\", %d \"%s\")\n",
                         o.exitStatus, o.out.c_str(), p.exitStatus, p.out.c_str());
            return 1;
        }
        oursSeconds.push_back(o.seconds);
        peerSeconds.push_back(p.seconds);
    }
    const double ratio = Median(oursSeconds) / Median(peerSeconds);
    std::printf("one vireoctl read over a one-read C client, median wall time of %d runs each: "
                "%.2f (target at most 4)\n",
                rounds, ratio);
    return 0;
}
