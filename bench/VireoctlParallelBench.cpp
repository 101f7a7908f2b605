// vireoctl on many cameras and many commands: a settings load onto 1, 4 and 16 simulated
// cameras at 9600 baud in one parallel run, as ratios to one camera; and a register read inside
// a script against the same read as a program run of its own.
//
//   vireoctl_parallel_bench [READS]     (default 200)
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

using namespace testing_support;

namespace {

struct Cameras {
    std::vector<std::unique_ptr<BackgroundProcess>> processes;
    std::vector<std::string> ports;
};

Cameras StartCameras(int count)
{
    Cameras cameras;
    for (int i = 0; i < count; ++i) {
        cameras.processes.push_back(std::make_unique<BackgroundProcess>(
            std::vector<std::string>{CAMSIM_PATH, "--model", "RVQM52CM14", "--baud", "9600"}));
        cameras.ports.push_back(cameras.processes.back()->FirstLine());
    }
    return cameras;
}

ProcessResult Vireoctl(const ScopedSettingsDir& config, const std::vector<std::string>& ports,
                       const std::vector<std::string>& args)
{
    std::vector<std::string> argv{VIREOCTL_PATH, "--baud", "9600"};
    for (const std::string& port : ports) {
        argv.push_back("--port");
        argv.push_back(port);
    }
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcess(argv, {"XDG_CONFIG_HOME=" + config.Path()}, 600);
}

} // namespace

int main(int argc, char** argv)
{
    const int reads = argc > 1 ? std::atoi(argv[1]) : 200;
    if (reads <= 0) {
        std::fprintf(stderr, "usage: vireoctl_parallel_bench [READS]\n");
        return 2;
    }
    ScopedSettingsDir config;
    const std::string dir = MakeTempDir("vireoctl-bench");
    const std::string file = dir + "/line.json";

    Cameras all = StartCameras(16);
    if (Vireoctl(config, {all.ports[0]}, {"save", "auto", file}).exitStatus != 0) {
        std::fprintf(stderr, "vireoctl_parallel_bench: the first camera could not be saved\n");
        return 1;
    }
    double oneCamera = 0;
    for (const int count : {1, 4, 16}) {
        const std::vector<std::string> ports(all.ports.begin(), all.ports.begin() + count);
        const ProcessResult load = Vireoctl(config, ports, {"load", file});
        if (load.exitStatus != 0) {
            std::fprintf(stderr, "vireoctl_parallel_bench: load onto %d failed:\n%s", count,
                         load.err.c_str());
            return 1;
        }
        if (count == 1)
            oneCamera = load.seconds;
        std::printf("load onto %2d cameras in parallel: %.2f x the time of one\n", count,
                    load.seconds / oneCamera);
    }

    // One read as a script line against one read as a program run (start, settings, port): at
    // 9600 baud, and on a camera without wire time, where the process's own cost shows alone.
    {
        std::ofstream script(dir + "/reads.txt");
        for (int i = 0; i < reads; ++i)
            script << "read 20\n";
    }
    BackgroundProcess fast({CAMSIM_PATH, "--model", "RVQM52CM14"});
    const std::string fastPort = fast.FirstLine();
    for (const std::string& port : {all.ports[1], fastPort}) {
        const bool wired = port == all.ports[1];
        const ProcessResult scripted = Vireoctl(config, {port}, {"script", dir + "/reads.txt"});
        double separate = 0;
        for (int i = 0; i < reads; ++i) {
            const ProcessResult read = Vireoctl(config, {port}, {"read", "20"});
            if (read.exitStatus != 0) {
                std::fprintf(stderr, "vireoctl_parallel_bench: a read failed: %s",
                             read.err.c_str());
                return 1;
            }
            separate += read.seconds;
        }
        if (scripted.exitStatus != 0) {
            std::fprintf(stderr, "vireoctl_parallel_bench: the script failed: %s",
                         scripted.err.c_str());
            return 1;
        }
        if (wired) {
            // A read of register 20 is 6 bytes out and 4 back: at 9600 baud, 10.4 ms.
            const double wire = 10.0 * 10 / 9600;
            std::printf("%d reads at 9600 baud: a scripted read costs %.2f x its wire time\n",
                        reads, scripted.seconds / reads / wire);
        }
        std::printf("%d reads %s: a read run as its own program costs %.2f x a scripted read\n",
                    reads, wired ? "at 9600 baud" : "without wire time",
                    separate / scripted.seconds);
    }
    RemoveTree(dir);
    return 0;
}
