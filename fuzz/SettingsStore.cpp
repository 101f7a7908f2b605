// The settings store's values: the input is the stored file as a user might have left it. Every
// port setting must load within its bounds, and a number must read the same whether asked for
// as a number or as text.
#include "comm/Cas.h"
#include "comm/ComIF.h"
#include "platform/profile/Profile.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include <unistd.h>

namespace {

const char* const kIntegers[] = {"BaudRate", "Parity",    "ByteSize",  "StopBits", "fDsr",
                                 "fRts",     "fOutX",     "HsTimeOut", "Prefix",   "Suffix",
                                 "Suffix2",  "Port type", "LastCasVer"};

std::string g_file;

[[noreturn]] void Fail(const char* what, const std::string& detail)
{
    std::fprintf(stderr, "settings_store: %s (%s)\n", what, detail.c_str());
    std::abort();
}

// The digits of a text, with what may stand around them (blanks of any script) cut off.
std::string Core(const std::string& text)
{
    const auto numeric = [](char c) { return (c >= '0' && c <= '9') || c == '+' || c == '-'; };
    // Qt's number conversion ends at a zero byte, as C's does.
    std::size_t begin = 0;
    std::size_t end = std::min(text.size(), text.find('\0'));
    while (begin < end && !numeric(text[begin]))
        ++begin;
    while (end > begin && !numeric(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// A plain decimal number of up to nine digits between ASCII blanks.
bool IsPlainNumber(const std::string& text, int& value)
{
    std::size_t i = text.find_first_not_of(" \t");
    if (i == std::string::npos)
        return false;
    const std::size_t last = text.find_last_not_of(" \t");
    std::string core = text.substr(i, last - i + 1);
    std::size_t digits = core[0] == '-' ? 1 : 0;
    if (core.size() == digits || core.size() - digits > 9)
        return false;
    for (std::size_t k = digits; k < core.size(); ++k)
        if (core[k] < '0' || core[k] > '9')
            return false;
    value = std::atoi(core.c_str());
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    char dir[] = "/tmp/vireo-fuzz-store-XXXXXX";
    if (!mkdtemp(dir))
        std::abort();
    profile::SetStoreDirectory(dir);
    profile::SetReadOnly(true);
    g_file = profile::StoreFileName();
    const std::string parent = g_file.substr(0, g_file.rfind('/'));
    std::system(("mkdir -p '" + parent + "'").c_str());
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    {
        std::ofstream out(g_file, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }

    for (const char* entry : kIntegers) {
        const int asNumber = profile::GetProfileInt(kCommSection, entry, 12345);
        const std::string asText = profile::GetProfileString(kCommSection, entry, "<none>");
        // A number that is not the default came from the text's digits.
        if (asNumber != 12345) {
            const std::string core = Core(asText);
            char* stop = nullptr;
            const long long number = std::strtoll(core.c_str(), &stop, 10);
            if (core.empty() || *stop != '\0' ||
                static_cast<int>(static_cast<std::uint32_t>(number)) != asNumber)
                Fail("a number that its text does not hold", std::string(entry) + "=" + asText);
        }
        // A plain number in the text is read as that number.
        int plain = 0;
        if (asText != "<none>" && IsPlainNumber(asText, plain) && asNumber != plain)
            Fail("a plain number was not read", std::string(entry) + "=" + asText);
    }

    CRs232c port;
    port.LoadSettings();
    if (port.m_Settings.PortName.size() > kPortNameMax)
        Fail("a port name past its room", port.m_Settings.PortName);
    CCas cas;
    cas.LoadSettings();
    if (cas.m_Settings.PortName.size() > kPortNameMax)
        Fail("a port name past its room", cas.m_Settings.PortName);
    CComIF facade;
    facade.LoadSettings();
    profile::TakeProblem();
    return 0;
}
