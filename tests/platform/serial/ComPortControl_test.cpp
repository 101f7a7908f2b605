#include "platform/serial/ComPortControl.h"

#include <gtest/gtest.h>

namespace {

using namespace serial;
using Bytes = std::vector<int>;

std::vector<Bytes> AsBytes(const std::vector<std::string>& payloads)
{
    std::vector<Bytes> all;
    for (const std::string& payload : payloads) {
        Bytes bytes;
        for (const char c : payload)
            bytes.push_back(static_cast<unsigned char>(c));
        all.push_back(bytes);
    }
    return all;
}

LineSettings Line(int baud, int parity, int byteSize, int stopBits, bool cts, bool xon)
{
    LineSettings s;
    s.baudRate = baud;
    s.parity = static_cast<std::uint8_t>(parity);
    s.byteSize = static_cast<std::uint8_t>(byteSize);
    s.stopBits = static_cast<std::uint8_t>(stopBits);
    s.ctsOutFlow = cts;
    s.xonXoff = xon;
    return s;
}

TEST(ComPortControl, LineSettingsBecomeTheRequestsOfTheProtocol)
{
    struct Case {
        LineSettings settings;
        std::vector<Bytes> requests; // empty: no form in the protocol
    };
    const Bytes raised[] = {{5, 8}, {5, 11}, {11, 0xFF}};
    const Case cases[] = {
        {Line(9600, 0, 8, 0, false, false),
         {{1, 0, 0, 0x25, 0x80}, {2, 8}, {3, 1}, {4, 1}, {5, 1}, raised[0], raised[1], raised[2]}},
        {Line(19200, 2, 7, 2, true, false),
         {{1, 0, 0, 0x4B, 0x00}, {2, 7}, {3, 3}, {4, 2}, {5, 3}, raised[0], raised[1], raised[2]}},
        {Line(230400, 4, 5, 1, false, true),
         {{1, 0, 3, 0x84, 0x00}, {2, 5}, {3, 5}, {4, 3}, {5, 2}, raised[0], raised[1], raised[2]}},
        {Line(4800, 1, 6, 0, true, true),
         {{1, 0, 0, 0x12, 0xC0}, {2, 6}, {3, 2}, {4, 1}, {5, 3}, raised[0], raised[1], raised[2]}},
        {Line(9600, 0, 9, 0, false, false), {}},
        {Line(9600, 5, 8, 0, false, false), {}},
        {Line(9600, 0, 8, 3, false, false), {}},
        {Line(0, 0, 8, 0, false, false), {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.settings.baudRate);
        EXPECT_EQ(AsBytes(comport::LineRequests(c.settings)), c.requests);
    }
    const std::vector<Bytes> purge{{12, 3}};
    EXPECT_EQ(AsBytes({comport::PurgeRequest()}), purge);
}

TEST(ComPortControl, ServerAnswersAndNotificationsAreRead)
{
    struct Case {
        Bytes payload;
        bool valid;
        int command;
        std::uint32_t value;
    };
    const Case cases[] = {
        {{101, 0, 0, 0x4B, 0x00}, true, comport::SetBaudRate, 19200},
        {{101, 0, 1, 0xC2, 0x00}, true, comport::SetBaudRate, 115200},
        {{102, 7}, true, comport::SetDataSize, 7},
        {{103, 3}, true, comport::SetParity, 3},
        {{107, 0x30}, true, comport::NotifyModemState, 0x30},
        {{101, 0, 0}, false, 0, 0}, // a baud rate needs four bytes
        {{1, 8}, false, 0, 0},      // a client's command, not an answer
        {{102}, false, 0, 0},
        {{}, false, 0, 0},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes(c.payload.begin(), c.payload.end());
        const auto message = comport::ReadServerMessage(bytes.data(), bytes.size());
        SCOPED_TRACE(testing::PrintToString(c.payload));
        EXPECT_EQ(message.valid, c.valid);
        if (c.valid) {
            EXPECT_EQ(message.command, c.command);
            EXPECT_EQ(message.value, c.value);
        }
    }
}

TEST(ComPortControl, ModemStateBitsAreTheLines)
{
    struct Case {
        std::uint8_t state;
        bool cts, dsr, ring, dcd;
    };
    const Case cases[] = {
        {0x00, false, false, false, false}, {0x10, true, false, false, false},
        {0x20, false, true, false, false},  {0x40, false, false, true, false},
        {0x80, false, false, false, true},  {0x0F, false, false, false, false},
        {0xFF, true, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.state));
        const ModemLines lines = comport::ModemLinesOf(c.state);
        EXPECT_EQ(lines.cts, c.cts);
        EXPECT_EQ(lines.dsr, c.dsr);
        EXPECT_EQ(lines.ring, c.ring);
        EXPECT_EQ(lines.dcd, c.dcd);
    }
}

} // namespace
