// Setting and clearing the process's environment variables, on POSIX and on Windows.
#pragma once

#include <string>

namespace testing_support {

void SetEnvironment(const std::string& name, const std::string& value);
void ClearEnvironment(const std::string& name);

// The processor time the process has used, user and system, in seconds (std::clock measures
// the wall time on Windows).
double ProcessCpuSeconds();

} // namespace testing_support
