// The Camera Link port's reply assembly on a scripted serial library: the input is the reply,
// arriving one piece per poll. The port must answer exactly when a terminator arrives within its
// buffer, and then with the bytes before it (less the prefix's place); else with its time-out.
#include "comm/Cas.h"
#include "platform/camlink/ClLibrary.h"
#include "platform/profile/Profile.h"
#include "tests/comm/FakeClLibrary.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

struct Framing {
    std::uint8_t prefix, suffix, suffix2;
};

constexpr Framing kFramings[] = {
    {0x02, 0x03, 0x00}, {0x02, 0x03, 0x0D}, {0x00, 0x03, 0x00}, {0x02, 0x00, 0x00}};

CCas* g_cas = nullptr;

[[noreturn]] void Fail(const char* what, const std::string& expected, const std::string& got)
{
    std::fprintf(stderr, "cas_reply: %s (expected \"%s\", got \"%s\")\n", what, expected.c_str(),
                 got.c_str());
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    setenv(camlink::kLibraryVariable, FAKECL_PATH, 1);
    // Opening a port stores its choice; nothing here may reach a real store.
    profile::SetReadOnly(true);
    fakecl::SetPorts({{"FuzzGrabber", "port0", 0}});
    g_cas = new CCas;
    g_cas->Initialize();
    g_cas->SelectPort(0);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const Framing framing = kFramings[data[0] % std::size(kFramings)];
    const std::string stream(reinterpret_cast<const char*>(data + 2), size - 2);
    // The port polls once per piece and pauses between polls: a few pieces at most keep the
    // harness quick.
    const std::size_t pieceSize =
        data[1] == 0 ? 0 : std::max<std::size_t>(data[1], stream.size() / 16 + 1);
    std::vector<std::string> pieces;
    if (pieceSize == 0)
        pieces.push_back(stream);
    else
        for (std::size_t at = 0; at < stream.size(); at += pieceSize)
            pieces.push_back(stream.substr(at, pieceSize));

    // What the port can see: no more than its buffer holds.
    const std::string seen = stream.substr(0, std::min(stream.size(), CCas::kReplyMax));
    std::string terminator(1, static_cast<char>(framing.suffix));
    if (framing.suffix2 != 0)
        terminator += static_cast<char>(framing.suffix2);
    const std::size_t at = seen.find(terminator);
    const bool answers = at != std::string::npos;
    std::string expected;
    if (answers) {
        const std::size_t begin = framing.prefix != 0 ? 1 : 0;
        const std::size_t drop = (framing.suffix != 0) + (framing.suffix2 != 0);
        std::size_t end = at + terminator.size();
        end = end >= begin + drop ? end - drop : begin;
        expected = seen.substr(begin, std::min<std::size_t>(end - begin, 15));
        expected = expected.c_str(); // the caller's text ends at its first zero byte
    }

    CCas& cas = *g_cas;
    cas.m_Settings.Prefix = framing.prefix;
    cas.m_Settings.Suffix = framing.suffix;
    cas.m_Settings.Suffix2 = framing.suffix2;
    // A reply that can never come is given no time at all; one that comes is given plenty.
    cas.m_Settings.HsTimeOut = answers ? 10000 : 0;

    fakecl::Reset();
    fakecl::SetPorts({{"FuzzGrabber", "port0", 0}});
    if (!cas.Open())
        Fail("the scripted port did not open", "", "");
    fakecl::ReplyInPieces(pieces);
    char reply[16] = {};
    const auto start = std::chrono::steady_clock::now();
    const int result = cas.SendReceive("\x02"
                                       "20RQ\x03",
                                       reply, sizeof reply)
                           .Code();
    const auto waited = std::chrono::steady_clock::now() - start;
    cas.Close();

    if (waited > std::chrono::seconds(5))
        Fail("the exchange took too long", expected, reply);
    if (answers && result != 0)
        Fail("a complete reply was not taken", expected, reply);
    if (!answers && result != LINK_TIMEOUT)
        Fail("an incomplete reply was taken", expected, reply);
    if (answers && expected != reply)
        Fail("the reply is not the frame's payload", expected, reply);
    return 0;
}
