#include "tools/clsim/Config.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

namespace clsim {
namespace {

const char* const kCalls[] = {
    "clGetNumPorts", "clGetPortInfo",  "clSerialInit",  "clGetSupportedBaudRates",
    "clSetBaudRate", "clFlushPort",    "clSerialWrite", "clGetNumBytesAvail",
    "clSerialRead",  "clGetErrorText",
};

std::vector<std::string> Split(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator))
        parts.push_back(part);
    return parts;
}

bool ParseNumber(const std::string& text, long minimum, long maximum, long& value)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(text.c_str(), &end, 0);
    if (*end != '\0' || errno != 0 || number < minimum || number > maximum)
        return false;
    value = number;
    return true;
}

bool KnownCall(const std::string& name)
{
    for (const char* call : kCalls)
        if (name == call)
            return true;
    return false;
}

bool ParseFailures(const std::string& text, std::map<std::string, CLINT32>& failures)
{
    std::map<std::string, CLINT32> parsed;
    for (const std::string& item : Split(text, ',')) {
        const std::size_t colon = item.find(':');
        const std::string call = item.substr(0, colon);
        long code = CL_ERR_TIMEOUT;
        if (!KnownCall(call))
            return false;
        if (colon != std::string::npos && !ParseNumber(item.substr(colon + 1), INT_MIN, -1, code))
            return false;
        parsed[call] = static_cast<CLINT32>(code);
    }
    failures = std::move(parsed);
    return true;
}

bool ParseCameraFault(const std::string& text, camsim::Fault& fault)
{
    if (text == "none")
        fault = camsim::Fault::None;
    else if (text == "nak")
        fault = camsim::Fault::Nak;
    else if (text == "silent")
        fault = camsim::Fault::Silent;
    else if (text == "garbage")
        fault = camsim::Fault::Garbage;
    else
        return false;
    return true;
}

bool ParseModels(const std::string& text, std::vector<camsim::Model>& models)
{
    std::vector<camsim::Model> parsed;
    for (const std::string& name : Split(text, ',')) {
        const auto model = camsim::ModelFromName(name);
        if (!model)
            return false;
        parsed.push_back(*model);
    }
    if (parsed.size() > 64)
        return false;
    models = std::move(parsed);
    return true;
}

} // namespace

Config ParseConfig(const std::string& text, std::vector<std::string>& problems)
{
    Config config;
    for (const std::string& setting : Split(text, ';')) {
        if (setting.empty())
            continue;
        const std::size_t equals = setting.find('=');
        const std::string key = setting.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : setting.substr(equals + 1);
        long number = 0;
        bool ok = false;
        if (equals == std::string::npos) {
            ok = false;
        } else if (key == "models") {
            ok = ParseModels(value, config.models);
        } else if (key == "manufacturer") {
            ok = value.size() < 128;
            if (ok)
                config.manufacturer = value;
        } else if (key == "version") {
            ok = ParseNumber(value, 0, LONG_MAX, number) &&
                 static_cast<unsigned long long>(number) <= 0xFFFFFFFFULL;
            if (ok)
                config.version = static_cast<CLUINT32>(number);
        } else if (key == "rates") {
            ok = ParseNumber(value, 0, 0xFF, number);
            if (ok)
                config.rates = static_cast<CLUINT32>(number);
        } else if (key == "camera") {
            ok = ParseCameraFault(value, config.faults.fault);
        } else if (key == "split") {
            ok = value == "0" || value == "1";
            config.faults.split = value == "1";
        } else if (key == "delay") {
            ok = ParseNumber(value, 0, 600000, number);
            if (ok)
                config.faults.delayMs = static_cast<int>(number);
        } else if (key == "wire") {
            ok = value == "0" || value == "1";
            config.wireTime = value == "1";
        } else if (key == "fail") {
            ok = ParseFailures(value, config.failures);
        } else {
            ok = false;
        }
        if (!ok)
            problems.push_back(setting);
    }
    return config;
}

} // namespace clsim
