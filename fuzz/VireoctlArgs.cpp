// vireoctl's command line: options, hexadecimal arguments and the arguments of named
// operations, with the input's zero bytes separating the words. Nothing is opened or run.
#include "comm/BaudRates.h"
#include "tools/vireoctl/NamedOps.h"
#include "tools/vireoctl/Session.h"

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

[[noreturn]] void Fail(const char* what, const std::string& word)
{
    std::fprintf(stderr, "vireoctl_args: %s (\"%s\")\n", what, word.c_str());
    std::abort();
}

bool IsHexWord(const std::string& text)
{
    std::size_t from = text.size() >= 2 && text[0] == '0' && (text[1] | 0x20) == 'x' ? 2 : 0;
    if (text.size() == from || text.size() - from > 8)
        return false;
    for (std::size_t i = from; i < text.size(); ++i)
        if (!std::isxdigit(static_cast<unsigned char>(text[i])))
            return false;
    return true;
}

void CheckHex(const std::string& word, unsigned maximum)
{
    int value = -1;
    const bool ok = vireoctl::ParseHexArgument(word, maximum, value);
    if (ok && (!IsHexWord(word) || value < 0 || static_cast<unsigned>(value) > maximum ||
               std::strtoul(word.c_str(), nullptr, 16) != static_cast<unsigned>(value)))
        Fail("a hexadecimal argument was taken wrongly", word);
    if (!ok && IsHexWord(word) && std::strtoul(word.c_str(), nullptr, 16) <= maximum)
        Fail("a good hexadecimal argument was refused", word);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> words{"vireoctl"};
    std::string word;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            words.push_back(word);
            word.clear();
        } else {
            word += static_cast<char>(data[i]);
        }
    }
    words.push_back(word);
    std::vector<char*> argv;
    for (std::string& w : words)
        argv.push_back(w.data());
    argv.push_back(nullptr);

    vireoctl::Options options;
    std::string problem;
    if (!vireoctl::ParseOptions(static_cast<int>(words.size()), argv.data(), options, problem)) {
        if (problem.empty())
            Fail("a command line was refused without saying why", "");
        return 0;
    }
    if (options.args.empty())
        Fail("a command line without a command was taken", "");
    for (const vireoctl::Target& target : options.targets) {
        // A camera named from the inventory gets its port when the names are looked up.
        if (!target.clIndex && target.port.empty() && target.name.empty())
            Fail("an empty port name was taken", "");
        if (target.clIndex && *target.clIndex < 0)
            Fail("a negative port index was taken", "");
    }
    if (options.baud && !IsOfferedBaudRate(*options.baud))
        Fail("a baud rate the setup dialog does not offer was taken",
             std::to_string(*options.baud));
    if (options.timeoutMs && (*options.timeoutMs < 1 || *options.timeoutMs > 60000))
        Fail("a time-out outside 1..60000 ms was taken", std::to_string(*options.timeoutMs));

    const std::vector<std::string>& args = options.args;
    for (std::size_t i = 1; i < args.size() && i < 3; ++i)
        CheckHex(args[i], i == 1 ? 0xFFF : 0xFF);
    if (args[0] == "call" && args.size() >= 3) {
        const auto kind = vireoctl::MapOfModel(args[1]);
        if (!kind)
            return 0;
        const vireoctl::NamedOp* op = vireoctl::FindOperation(*kind, args[2]);
        if (!op)
            return 0;
        const std::vector<std::string> opArgs(args.begin() + 3, args.end());
        if (op->bind(opArgs) && opArgs.size() != op->arity)
            Fail("an operation took the wrong number of arguments", args[2]);
    }
    return 0;
}
