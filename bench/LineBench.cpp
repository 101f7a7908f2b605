// A production line of 16 simulated cameras at 9600 baud, named in an inventory: the time of a
// verification (`diff --all`) against one camera, and the cost of the audit trail on a load
// onto all 16, each as a ratio measured in the same run. Also the size of a year's trail.
//
//   line_bench [ROUNDS]     (default 5; the ratios are medians over the rounds)
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <sys/stat.h>
#include <vector>

using namespace testing_support;

namespace {

constexpr int kCameras = 16;

struct Line {
    std::vector<std::unique_ptr<BackgroundProcess>> cameras;
    std::string inventory;
};

std::string CameraName(int i)
{
    char name[16];
    std::snprintf(name, sizeof name, "cam%02d", i);
    return name;
}

Line StartLine(const std::string& dir)
{
    Line line;
    line.inventory = dir + "/cameras.toml";
    std::ofstream toml(line.inventory);
    for (int i = 0; i < kCameras; ++i) {
        const std::string serial = std::to_string(5220000 + i);
        line.cameras.push_back(std::make_unique<BackgroundProcess>(std::vector<std::string>{
            CAMSIM_PATH, "--model", "RVQM52CM14", "--baud", "9600", "--serial", serial}));
        toml << "[cameras." << CameraName(i) << "]\nport = \"" << line.cameras.back()->FirstLine()
             << "\"\nmodel = \"RVQM52CM14\"\nserial = \"" << serial << "\"\n\n";
    }
    return line;
}

ProcessResult Vireoctl(const ScopedSettingsDir& config, const Line& line,
                       const std::vector<std::string>& args)
{
    std::vector<std::string> argv{VIREOCTL_PATH, "--baud", "9600", "--inventory", line.inventory};
    argv.insert(argv.end(), args.begin(), args.end());
    return RunProcess(argv, {"XDG_CONFIG_HOME=" + config.Path()}, 600);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

bool Expect(const ProcessResult& run, int status, const char* what)
{
    if (run.exitStatus == status)
        return true;
    std::fprintf(stderr, "line_bench: %s ended with %d, not %d:\n%s", what, run.exitStatus, status,
                 run.err.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv)
{
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 5;
    if (rounds <= 0) {
        std::fprintf(stderr, "usage: line_bench [ROUNDS]\n");
        return 2;
    }
    ScopedSettingsDir config;
    const std::string dir = MakeTempDir("line-bench");
    const std::string approved = dir + "/approved.json";
    const std::string trail = dir + "/audit.jsonl";
    // A trail that cannot be opened: the load runs as it would with no trail to write.
    const std::string noTrail = "/dev/null/audit.jsonl";
    const Line line = StartLine(dir);

    if (!Expect(Vireoctl(config, line, {"--camera", "cam00", "save", "auto", approved}), 0,
                "the reference save") ||
        !Expect(Vireoctl(config, line, {"--all", "--audit", trail, "load", approved}), 0,
                "the first load"))
        return 1;

    std::vector<double> verify, audit, oneSeconds, loadSeconds;
    for (int round = 0; round < rounds; ++round) {
        const ProcessResult one = Vireoctl(config, line, {"--camera", "cam00", "diff", approved});
        const ProcessResult all = Vireoctl(config, line, {"--all", "diff", approved});
        if (!Expect(one, 0, "diff on one camera") || !Expect(all, 0, "diff --all"))
            return 1;
        verify.push_back(all.seconds / one.seconds);
        oneSeconds.push_back(one.seconds);

        const ProcessResult with =
            Vireoctl(config, line, {"--all", "--audit", trail, "load", approved});
        const ProcessResult without =
            Vireoctl(config, line, {"--all", "--audit", noTrail, "load", approved});
        // 4: every change made, none recorded.
        if (!Expect(with, 0, "load with the trail") || !Expect(without, 4, "load without it"))
            return 1;
        audit.push_back(with.seconds / without.seconds);
        loadSeconds.push_back(without.seconds);
    }
    std::printf("diff --all over %d cameras at 9600 baud: %.2f x the time of one (%.2f s)\n",
                kCameras, Median(verify), Median(oneSeconds));
    std::printf("load onto %d cameras: %.3f x with the audit trail as without it (%.2f s)\n",
                kCameras, Median(audit), Median(loadSeconds));

    struct stat info {};
    std::size_t lines = 0;
    {
        std::ifstream in(trail);
        for (std::string text; std::getline(in, text);)
            ++lines;
    }
    if (::stat(trail.c_str(), &info) != 0 || lines == 0) {
        std::fprintf(stderr, "line_bench: the trail %s is empty\n", trail.c_str());
        return 1;
    }
    const double perLine = static_cast<double>(info.st_size) / static_cast<double>(lines);
    const double settings = static_cast<double>(lines) / (kCameras * (1 + rounds));
    const double year = perLine * 50 * 10 * 365;
    std::printf("a trail line is %.0f bytes; a year of a 50-camera line, ten changes a day per "
                "camera: %.0f MB as single settings, %.0f MB as loads of %.0f settings\n",
                perLine, year / 1e6, year * settings / 1e6, settings);
    RemoveTree(dir);
    return 0;
}
