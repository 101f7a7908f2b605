// One identify on eight simulated cameras served by one ser2net over RFC 2217, against the same
// command on one of them: vireoctl connects the cameras at once, so eight should take about as
// long as one. Runs in turns ROUNDS times and prints the ratio of the median wall times.
//
//   network_fleet_bench [ROUNDS]     (default 21)
#include "tests/support/Process.h"
#include "tests/support/PtyCamera.h"
#include "tests/support/Ser2netServer.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kCameras = 8;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
    if (Ser2netServer::Program().empty()) {
        std::fprintf(stderr, "network_fleet_bench: ser2net is not installed\n");
        return 1;
    }
    std::vector<std::unique_ptr<PtyCamera>> cameras;
    std::vector<std::string> devices;
    std::string failure;
    for (int i = 0; i < kCameras; ++i) {
        cameras.push_back(std::make_unique<PtyCamera>());
        if (!cameras.back()->Start(failure)) {
            std::fprintf(stderr, "network_fleet_bench: %s\n", failure.c_str());
            return 1;
        }
        devices.push_back(cameras.back()->Path());
    }
    Ser2netServer server;
    if (!server.Start(devices, failure)) {
        std::fprintf(stderr, "network_fleet_bench: %s\n", failure.c_str());
        return 1;
    }
    ScopedSettingsDir config;
    const std::vector<std::string> environment{"XDG_CONFIG_HOME=" + config.Path(),
                                               "XDG_RUNTIME_DIR=" + config.Path()};
    const std::vector<std::string> one{VIREOCTL_PATH, "--port", server.Rfc2217Url(0), "identify"};
    std::vector<std::string> all{VIREOCTL_PATH};
    for (int i = 0; i < kCameras; ++i)
        all.insert(all.end(), {"--port", server.Rfc2217Url(static_cast<std::size_t>(i))});
    all.push_back("identify");

    std::vector<double> oneSeconds;
    std::vector<double> allSeconds;
    for (int round = 0; round < 2 * rounds; ++round) {
        const bool eight = (round % 2 == 1) == (round / 2 % 2 == 0);
        // The server lets go of its devices a moment after the connections end.
        server.WaitDeviceReleased();
        const ProcessResult run = RunProcess(eight ? all : one, environment);
        if (run.exitStatus != 0) {
            std::fprintf(stderr, "network_fleet_bench: identify failed: %s\n", run.err.c_str());
            return 1;
        }
        (eight ? allSeconds : oneSeconds).push_back(run.seconds);
    }
    std::printf("identify on %d cameras over RFC 2217 through one ser2net over one camera, "
                "median wall time of %d runs each: %.2f (target at most 1.2)\n",
                kCameras, rounds, Median(allSeconds) / Median(oneSeconds));
    return 0;
}
