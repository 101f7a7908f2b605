// The files "diff --report" and "diff --junit" write: a verification a production line can file,
// and the same verdicts as a CI server reads test results.
#pragma once

#include "tools/vireoctl/Fleet.h"

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
// "serial", "result": "match"|"differs"|"failed: REASON", "differences", "settings_sha256"}]}.
std::string DiffReportJson(const DiffRun& run);

// testsuites/testsuite/testcase, one test case per camera: a <failure> for one that differs
// (each differing setting a line of its text), an <error> for one that failed.
std::string DiffJUnitXml(const DiffRun& run);

} // namespace vireoctl
