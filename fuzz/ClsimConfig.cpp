// The simulated grabber's configuration text (CLSIM_CONFIG): whatever it holds, the parsed
// settings stay within their bounds, every refusal names a setting of the text, and a grabber
// can be built from the result.
#include "tools/clsim/Config.h"
#include "tools/clsim/Grabber.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "clsim_config: %s (%s)\n", what, detail.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> problems;
    const clsim::Config config = clsim::ParseConfig(text, problems);

    if (config.manufacturer.size() >= 128)
        Fail("a manufacturer name past the library's text room", config.manufacturer);
    if (config.models.size() > 64)
        Fail("more ports than a grabber has", std::to_string(config.models.size()));
    if (config.rates > 0xFF)
        Fail("rate bits outside the standard's", std::to_string(config.rates));
    if (config.faults.delayMs < 0 || config.faults.delayMs > 600000)
        Fail("a delay out of range", std::to_string(config.faults.delayMs));
    for (const auto& [call, code] : config.failures)
        if (call.rfind("cl", 0) != 0)
            Fail("a failure for no library call", call);
    const std::string wrapped = ";" + text + ";";
    for (const std::string& problem : problems)
        if (problem.empty() || wrapped.find(";" + problem + ";") == std::string::npos)
            Fail("a refusal that names no setting of the text", problem);

    clsim::Grabber grabber(config);
    if (grabber.PortCount() != config.models.size())
        Fail("a grabber without one port per camera", std::to_string(grabber.PortCount()));
    return 0;
}
