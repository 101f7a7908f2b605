// The RS-232C port's frame cutting, fed through a scripted device: the input is what the camera
// sends back, in pieces that each arrive as one read. A reply reported as success must be the
// payload of a frame that was sent, and no exchange may wait past the device going away.
#include "comm/Rs232c.h"
#include "tests/support/FakeSerialDevice.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

struct Framing {
    std::uint8_t prefix, suffix, suffix2;
};

// The default framing, one with a second suffix, and one without a prefix.
constexpr Framing kFramings[] = {{0x02, 0x03, 0x00}, {0x02, 0x03, 0x0D}, {0x00, 0x03, 0x00}};

[[noreturn]] void Fail(const char* what, const std::string& reply)
{
    std::fprintf(stderr, "rs232c_frames: %s (reply \"%s\")\n", what, reply.c_str());
    std::abort();
}

// Whether the reply (as the caller sees it: up to 15 characters, up to its first zero) is the
// payload of a frame in the stream: it starts the stream or follows a prefix, holds no framing
// byte, and a terminator ends it within the accumulator's bound.
bool IsSentFrame(const std::string& stream, const std::string& reply, const Framing& f)
{
    const auto framing = [&f](std::uint8_t b) {
        return b == f.prefix || b == f.suffix || b == f.suffix2;
    };
    for (std::size_t p = 0; p <= stream.size(); ++p) {
        if (p > 0 && static_cast<std::uint8_t>(stream[p - 1]) != f.prefix)
            continue;
        std::size_t q = p;
        while (q < stream.size() && !framing(static_cast<std::uint8_t>(stream[q])))
            ++q;
        if (q == stream.size() || static_cast<std::uint8_t>(stream[q]) == f.prefix)
            continue; // no terminator: not a frame
        if (q - p > CRs232c::kFrameMax)
            continue;
        // The caller's text ends at the payload's first zero byte.
        std::string payload = stream.substr(p, q - p);
        payload = payload.substr(0, std::min<std::size_t>(payload.find('\0'), 15));
        if (payload == reply)
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const Framing framing = kFramings[data[0] % std::size(kFramings)];
    const std::size_t pieceSize = data[1];
    const std::string stream(reinterpret_cast<const char*>(data + 2), size - 2);
    std::vector<std::string> pieces;
    if (pieceSize == 0)
        pieces.push_back(stream);
    else
        for (std::size_t at = 0; at < stream.size(); at += pieceSize)
            pieces.push_back(stream.substr(at, pieceSize));

    testing_support::FakeLine line;
    line.SetResponder([&pieces](const std::string&) { return pieces; });
    CRs232c port;
    port.SetDeviceFactory([&line](const serial::PortAddress&) { return line.MakeDevice(); });
    port.m_Settings.PortName = "COM1";
    port.m_Settings.BaudRate = 9600;
    port.m_Settings.ByteSize = 8;
    port.m_Settings.HsTimeOut = 10000;
    port.m_Settings.Prefix = framing.prefix;
    port.m_Settings.Suffix = framing.suffix;
    port.m_Settings.Suffix2 = framing.suffix2;
    if (!port.Open())
        Fail("the scripted port did not open", "");

    int result = -1;
    char reply[16] = {};
    const auto start = std::chrono::steady_clock::now();
    std::thread exchange([&] {
        result = port.SendReceive("\x02"
                                  "20RQ\x03",
                                  reply, sizeof reply)
                     .Code();
    });
    // Once every byte is taken the answer is decided; the device then goes away, which must end
    // an exchange still waiting at once.
    if (!line.WaitIdle(1, 5000))
        Fail("the event thread did not take the bytes", "");
    line.HangUp();
    exchange.join();
    const auto waited = std::chrono::steady_clock::now() - start;
    port.Close();

    const std::string text(reply);
    if (waited > std::chrono::seconds(5))
        Fail("the exchange outlived the device", text);
    if (result != 0 && result != LINK_TIMEOUT)
        Fail("unexpected result", text);
    if (result == 0 && !IsSentFrame(stream, text, framing))
        Fail("a reply that is no frame that was sent", text);
    return 0;
}
