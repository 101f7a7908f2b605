#include "tests/support/Environment.h"

#include <cstdlib>
#include <ctime>

namespace testing_support {

void SetEnvironment(const std::string& name, const std::string& value)
{
    ::setenv(name.c_str(), value.c_str(), 1);
}

void ClearEnvironment(const std::string& name)
{
    ::unsetenv(name.c_str());
}

double ProcessCpuSeconds()
{
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

} // namespace testing_support
