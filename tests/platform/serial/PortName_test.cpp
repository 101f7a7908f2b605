#include "platform/serial/PortName.h"

#include <gtest/gtest.h>

namespace {

using serial::PortNameKind;

struct NameCase {
    const char* name;
    bool valid;
    PortNameKind kind;
    const char* pathOrHost; // the device path, or the host of a network port
    int port;
    const char* problemPart; // for invalid names: words the reason must hold
};

TEST(PortName, EveryKindOfNameAndEveryMalformedOne)
{
    const NameCase cases[] = {
        {"COM1", true, PortNameKind::Device, "/dev/ttyS0", 0, ""},
        {"COM12", true, PortNameKind::Device, "/dev/ttyS11", 0, ""},
        {"COM0", true, PortNameKind::Device, "/dev/COM0", 0, ""},
        {"COM+1", true, PortNameKind::Device, "/dev/COM+1", 0, ""},
        {"COM 99", true, PortNameKind::Device, "/dev/COM 99", 0, ""},
        {"COM099", true, PortNameKind::Device, "/dev/COM099", 0, ""},
        {"COM-2", true, PortNameKind::Device, "/dev/COM-2", 0, ""},
        {"COM1x", true, PortNameKind::Device, "/dev/COM1x", 0, ""},
        {"ttyUSB0", true, PortNameKind::Device, "/dev/ttyUSB0", 0, ""},
        {"/dev/pts/3", true, PortNameKind::Device, "/dev/pts/3", 0, ""},
        {"./cam", true, PortNameKind::Device, "./cam", 0, ""},
        {"serial/by-id/usb-x", true, PortNameKind::Device, "serial/by-id/usb-x", 0, ""},
        {"rfc2217://127.0.0.1:2217", true, PortNameKind::Rfc2217, "127.0.0.1", 2217, ""},
        {"rfc2217://[::1]:7000", true, PortNameKind::Rfc2217, "::1", 7000, ""},
        {"socket://camhost:65535", true, PortNameKind::RawTcp, "camhost", 65535, ""},
        {"socket://h:1", true, PortNameKind::RawTcp, "h", 1, ""},
        {"", false, PortNameKind::Device, "", 0, "no port name"},
        {"rfc2217://", false, PortNameKind::Rfc2217, "", 0, "no host and port"},
        {"rfc2217://host", false, PortNameKind::Rfc2217, "", 0, "no port"},
        {"rfc2217://host:", false, PortNameKind::Rfc2217, "", 0, "no port"},
        {"rfc2217://:2217", false, PortNameKind::Rfc2217, "", 0, "no host"},
        {"socket://host:0", false, PortNameKind::RawTcp, "", 0, "1 to 65535"},
        {"socket://host:65536", false, PortNameKind::RawTcp, "", 0, "1 to 65535"},
        {"socket://host:99x", false, PortNameKind::RawTcp, "", 0, "1 to 65535"},
        {"socket://::1:80", false, PortNameKind::RawTcp, "", 0, "brackets"},
        {"socket://[::1:80", false, PortNameKind::RawTcp, "", 0, "']'"},
        {"tcp://host:80", false, PortNameKind::Device, "", 0, "unknown kind of port"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name);
        serial::PortAddress address;
        std::string problem;
        ASSERT_EQ(serial::ParsePortName(c.name, address, problem), c.valid) << problem;
        if (!c.valid) {
            EXPECT_NE(problem.find(c.problemPart), std::string::npos) << problem;
            continue;
        }
        EXPECT_TRUE(problem.empty());
        EXPECT_EQ(address.kind, c.kind);
        if (c.kind == PortNameKind::Device) {
            EXPECT_EQ(address.path, c.pathOrHost);
        } else {
            EXPECT_EQ(address.host, c.pathOrHost);
            EXPECT_EQ(address.port, c.port);
        }
        EXPECT_EQ(address.name, c.name);
        EXPECT_EQ(address.Shown(), c.kind == PortNameKind::Device ? address.path : c.name);
    }
}

} // namespace
