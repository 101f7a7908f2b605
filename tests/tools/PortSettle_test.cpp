// The settle before a port's first request falls only where a late reply can be on its way: a
// reply left by a program whose request timed out is never taken by the next program, on the
// device itself and served by ser2net both ways; a clean port costs no settle, but a raw TCP
// server, which cannot be asked to purge, is settled at each connection.
#include "tests/support/Process.h"
#include "tests/support/PtyCamera.h"
#include "tests/support/Ser2netServer.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

using namespace testing_support;

namespace {

long Settles(const std::string& log)
{
    const auto lines = Lines(log);
    return std::count_if(lines.begin(), lines.end(), [](const std::string& line) {
        return line.find("Settle: dropping late replies") != std::string::npos;
    });
}

} // namespace

TEST(PortSettle, ALateReplyIsNeverTakenByTheNextProgramAndACleanPortCostsNoSettle)
{
    enum class Way { Device, Rfc2217, RawTcp };
    struct Row {
        const char* name;
        Way way;
        long cleanSettles; // at a connection with no late reply about
    };
    const Row rows[] = {
        {"a pseudo-terminal", Way::Device, 0},
        {"rfc2217:// through ser2net", Way::Rfc2217, 0},
        {"socket:// through ser2net", Way::RawTcp, 1},
    };
    const bool haveSer2net = !Ser2netServer::Program().empty();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        if (row.way != Way::Device && !haveSer2net)
            continue; // said at the end
        ScopedSettingsDir config;
        PtyCamera camera;
        std::string failure;
        ASSERT_TRUE(camera.Start(failure)) << failure;
        camera.camera.Set(0x150, 0xA1);
        camera.camera.Set(0x151, 0xB2);
        std::unique_ptr<Ser2netServer> server;
        std::string port = camera.Path();
        if (row.way != Way::Device) {
            server = std::make_unique<Ser2netServer>();
            ASSERT_TRUE(server->Start(camera.Path(), failure)) << failure;
            port = row.way == Way::Rfc2217 ? server->Rfc2217Url() : server->RawUrl();
        }
        // The programs share the runtime directory, where a mark is left.
        const auto read = [&](const char* timeoutMs, const char* address) {
            if (server) {
                EXPECT_TRUE(server->WaitDeviceReleased());
            }
            return RunProcess(
                {VIREOCTL_PATH, "--port", port, "--timeout", timeoutMs, "--log", "read", address},
                {"XDG_CONFIG_HOME=" + config.Path(), "XDG_RUNTIME_DIR=" + config.Path()});
        };

        const ProcessResult clean = read("1000", "151");
        ASSERT_EQ(clean.exitStatus, 0) << clean.err;
        EXPECT_EQ(Settles(clean.err), row.cleanSettles) << clean.err;

        // The camera answers 700 ms late; the request gives up after 500.
        camera.camera.SetFaults({camsim::Fault::None, false, 700, 0});
        const ProcessResult timedOut = read("500", "150");
        EXPECT_NE(timedOut.exitStatus, 0) << timedOut.out;
        camera.camera.SetFaults({});

        // The next program starts while the late reply is still to come.
        const ProcessResult next = read("1000", "151");
        EXPECT_EQ(next.exitStatus, 0) << next.err;
        EXPECT_EQ(next.out, clean.out) << "the late answer of 0x150 was taken\n" << next.err;
        EXPECT_EQ(Settles(next.err), 1) << next.err;

        // In step again: the one after it settles as on a clean port.
        const ProcessResult after = read("1000", "151");
        EXPECT_EQ(after.out, clean.out);
        EXPECT_EQ(Settles(after.err), row.cleanSettles) << after.err;
    }
    if (!haveSer2net)
        GTEST_SKIP() << "ser2net is not installed (apt-get install ser2net): served rows not run";
}
