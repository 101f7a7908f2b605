// The files "diff --report" and "diff --junit" write: a verification a production line can file,
// and the same verdicts as a CI server reads test results.
#pragma once

#include "tools/vireoctl/Fleet.h"

#include <optional>
#include <string>
#include <vector>

namespace vireoctl {

struct DiffRun {
    std::string file;                      // the approved settings file, as named
    std::string fileSha256;                // of its bytes as read
    std::string time;                      // UTC, "2024-05-17T09:30:00Z"
    const std::vector<JobResult>& results; // one per camera, in target order
};

// {"program", "version", "time", "file", "file_sha256", "cameras": [{"name", "port", "model",
// "serial", "result": "match"|"differs"|"failed: REASON", "differences", "settings_sha256",
// "expected_model", "expected_serial"}]}.
std::string DiffReportJson(const DiffRun& run);

// testsuites/testsuite/testcase, one test case per camera: a <failure> for one that differs
// (each differing setting a line of its text) or that is not the inventory's camera, an <error>
// for one that failed.
std::string DiffJUnitXml(const DiffRun& run);

// Each result gets the model and serial number its inventory entry expects; one whose camera
// answered as another (a swapped camera) fails, naming both. results are in targets' order.
void MarkReplacedCameras(const std::vector<Target>& targets, std::vector<JobResult>& results);

// Where the report files may go: not onto the compared file or anything else the run reads, nor
// both onto one file (a bad command line, exit 2), nor over a read-only file unless forced
// (exit 1). Prints the reason; nothing when they may be written.
std::optional<int> CheckReportTargets(const Options& options, const std::string& compared,
                                      const std::optional<std::string>& reportPath,
                                      const std::optional<std::string>& junitPath, bool force);

} // namespace vireoctl
