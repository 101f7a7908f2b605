#include "tests/support/Environment.h"

#include <cstdlib>

#include <windows.h>

namespace testing_support {

void SetEnvironment(const std::string& name, const std::string& value)
{
    ::_putenv_s(name.c_str(), value.c_str());
}

void ClearEnvironment(const std::string& name)
{
    // An empty value removes the variable.
    ::_putenv_s(name.c_str(), "");
}

double ProcessCpuSeconds()
{
    FILETIME created{}, ended{}, kernel{}, user{};
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &ended, &kernel, &user))
        return 0;
    const auto seconds = [](const FILETIME& time) {
        return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) |
                                   time.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

} // namespace testing_support
