// ParseHex and the judging of reply payloads. ParseHex is checked against a plain reading of its
// rule; each register exchange is given the input as the camera's reply payload and must judge
// it as ACK, NAK, a value of 0 to 0xFF, or an unusable reply.
#include "camera/RVXReg.h"
#include "comm/ComIF.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

constexpr char ACK = 0x06;
constexpr char NAK = 0x15;

// A facade whose every exchange is answered with the same payload.
class ScriptedFacade : public CComIF {
public:
    std::string payload;
    int exchanges = 0;

    CResult SendReceive(const char*, char* reply, std::size_t replySize) override
    {
        ++exchanges;
        const std::size_t n = std::min(payload.size(), replySize - 1);
        std::memcpy(reply, payload.data(), n);
        reply[n] = '\0';
        return LINK_OK;
    }
};

[[noreturn]] void Fail(const char* what, const std::string& text)
{
    std::fprintf(stderr, "reply_judging: %s (\"%s\")\n", what, text.c_str());
    std::abort();
}

// The rule as written: optional "0x" (either case of x), then at most 8 hexadecimal digits.
bool ReadHex(std::string text, std::uint32_t& value)
{
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.erase(0, 2);
    if (text.size() > 8)
        return false;
    std::uint32_t number = 0;
    for (const char c : text) {
        int digit;
        if (c >= '0' && c <= '9')
            digit = c - '0';
        else if (c >= 'a' && c <= 'f')
            digit = c - 'a' + 10;
        else if (c >= 'A' && c <= 'F')
            digit = c - 'A' + 10;
        else
            return false;
        number = number * 16 + static_cast<std::uint32_t>(digit);
    }
    value = number;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The text as the caller holds it: up to its first zero byte.
    const std::string input(reinterpret_cast<const char*>(data),
                            strnlen(reinterpret_cast<const char*>(data), size));

    {
        std::string buffer = input;
        std::uint32_t value = 0xDEADBEEF;
        const int ok = ParseHex(buffer.data(), value);
        std::uint32_t expected = 0xDEADBEEF;
        const bool expectedOk = ReadHex(input, expected);
        if (ok != (expectedOk ? 1 : 0) || value != expected)
            Fail("ParseHex disagrees with its rule", input);
        const bool prefixed = input.size() >= 2 && input[0] == '0' && (input[1] | 0x20) == 'x';
        if (std::strcmp(buffer.c_str(), prefixed ? input.c_str() + 2 : input.c_str()) != 0)
            Fail("ParseHex left the text changed otherwise than by its prefix", input);
    }

    static ScriptedFacade facade;
    facade.payload = input;
    const std::string seen = input.substr(0, 15); // a payload is cut to 15 characters
    CRVXReg reg(&facade);

    std::uint8_t value = 0x5A;
    const int read = reg.ReadRegister(0x20, value).Code();
    std::uint32_t number = 0;
    if (!seen.empty() && seen[0] == ACK) {
        if (read != 0 || value != 0)
            Fail("ACK to a read is not value 0", input);
    } else if (!seen.empty() && seen[0] == NAK) {
        if (read != 1)
            Fail("NAK to a read is not result 1", input);
    } else if (ReadHex(seen, number) && number <= 0xFF) {
        if (read != 0 || value != number)
            Fail("a valid value was not read", input);
    } else if (read != 2) {
        Fail("an unusable reply was not result 2", input);
    }

    const int write = reg.WriteRegister(0x20, 0x1A5).Code();
    const int expectedWrite = seen.empty() ? 2 : seen[0] == ACK ? 0 : seen[0] == NAK ? 1 : 2;
    if (write != expectedWrite)
        Fail("a write reply was judged wrongly", input);

    char text[17];
    std::memset(text, 'Z', sizeof text);
    facade.exchanges = 0;
    const int string = reg.ReadRegisterString(0x00, text, 16).Code();
    if (facade.exchanges < 1 || facade.exchanges > 16)
        Fail("a text read made the wrong number of exchanges", input);
    if (string == 0 && strnlen(text, sizeof text) > 16)
        Fail("a text read left its text unterminated", input);
    if (string != 0 && string != 2)
        Fail("a text read gave an unexpected result", input);
    return 0;
}
