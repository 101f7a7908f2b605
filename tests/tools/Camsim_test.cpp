// The simulated camera: how it reads requests, and the program around it.
#include "tests/support/Process.h"
#include "tools/camsim/Camera.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

using camsim::Camera;

namespace {

const std::string ACK = "\x02\x06\x03";
const std::string NAK = "\x02\x15\x03";

std::string Ask(Camera& camera, const std::string& body)
{
    const auto replies = camera.Feed("\x02" + body + "\x03");
    return replies.empty() ? std::string("(none)") : replies.front();
}

} // namespace

TEST(CamsimCamera, AnswersTheThreeRequestKinds)
{
    Camera camera;
    EXPECT_EQ(Ask(camera, "6E5A"), ACK);
    EXPECT_EQ(camera.Get(0x6E), 0x5A);
    EXPECT_EQ(Ask(camera, "6ERQ"), "\x02"
                                   "5A\x03");
    EXPECT_EQ(Ask(camera, "1503C"), ACK) << "three-digit address";
    EXPECT_EQ(camera.Get(0x150), 0x3C);
    EXPECT_EQ(Ask(camera, "150RQ"), "\x02"
                                    "3C\x03");
    EXPECT_EQ(Ask(camera, "00K"), ACK) << "character write";
    EXPECT_EQ(camera.Get(0x00), 'K');
    EXPECT_EQ(Ask(camera, "300RQ"), "\x02"
                                    "00\x03");
}

TEST(CamsimCamera, RefusesWhatItCannotRead)
{
    Camera camera;
    EXPECT_EQ(Ask(camera, "301RQ"), NAK);
    EXPECT_EQ(Ask(camera, "3FF00"), NAK);
    EXPECT_EQ(Ask(camera, ""), NAK);
    EXPECT_EQ(Ask(camera, "ZZRQ"), NAK);
    EXPECT_EQ(Ask(camera, std::string(500, '1')), NAK) << "over-long frame";
    // Noise between frames is ignored; a frame after it is answered.
    EXPECT_EQ(camera
                  .Feed("garbage\x03"
                        "\x02"
                        "20RQ\x03")
                  .size(),
              1u);
}

TEST(CamsimCamera, ZeroCharacterWriteEndsWhenTheLineGoesQuiet)
{
    Camera camera;
    camera.Set(0x12, 'x');
    EXPECT_TRUE(camera
                    .Feed(std::string("\x02"
                                      "12",
                                      3))
                    .empty());
    EXPECT_TRUE(camera.HasPendingRequest());
    const auto replies = camera.Idle();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0], ACK);
    EXPECT_EQ(camera.Get(0x12), 0);
    EXPECT_TRUE(camera.Idle().empty());
}

TEST(CamsimCamera, FaultsOnRequest)
{
    Camera camera;
    camera.SetFaults({camsim::Fault::Nak, false, 0, 0});
    EXPECT_EQ(Ask(camera, "20RQ"), NAK);
    camera.SetFaults({camsim::Fault::Silent, false, 0, 0});
    EXPECT_EQ(Ask(camera, "20RQ"), "(none)");
    camera.SetFaults({camsim::Fault::Garbage, false, 0, 0});
    const std::string noise = Ask(camera, "20RQ");
    EXPECT_GT(noise.size(), 4u);
    EXPECT_EQ(camera.Requests().size(), 3u);
    EXPECT_EQ(camsim::WireTime(9600, 6, 4).count(), 10417); // 100 bits at 9600 baud
    EXPECT_EQ(camsim::WireTime(230400, 6, 4).count(), 434);
    EXPECT_EQ(camsim::WireTime(0, 6, 4).count(), 0);
}

TEST(CamsimCamera, RequestHistoryIsBounded)
{
    // A long-running simulator keeps only the latest requests, not one entry per exchange.
    Camera camera;
    const std::size_t total = Camera::kRequestHistory * 3 + 7;
    for (std::size_t i = 0; i < total; ++i) {
        char request[8];
        std::snprintf(request, sizeof request, "%02XRQ", static_cast<unsigned>(i & 0xFF));
        Ask(camera, request);
    }
    const auto requests = camera.Requests();
    ASSERT_EQ(requests.size(), Camera::kRequestHistory);
    char last[8];
    std::snprintf(last, sizeof last, "%02XRQ", static_cast<unsigned>((total - 1) & 0xFF));
    EXPECT_EQ(requests.back(), last);
    char first[8];
    std::snprintf(first, sizeof first, "%02XRQ",
                  static_cast<unsigned>((total - Camera::kRequestHistory) & 0xFF));
    EXPECT_EQ(requests.front(), first);
}

TEST(CamsimCamera, IdentityTextsArePresent)
{
    Camera camera(camsim::Model::RV1250LX);
    std::string model;
    for (int a = 0x10; a < 0x20 && camera.Get(a); ++a)
        model += static_cast<char>(camera.Get(a));
    EXPECT_EQ(model, "RV1250LX");
    EXPECT_NE(camera.Get(0x00), 0);
    EXPECT_NE(camera.Get(0x20), 0);
    EXPECT_NE(camera.Get(0x30), 0);
}

TEST(CamsimProgram, PrintsItsDeviceAndLinksIt)
{
    const std::string link =
        (std::filesystem::temp_directory_path() / ("camsim-link-" + std::to_string(::getpid())))
            .string();
    {
        testing_support::BackgroundProcess camsim({CAMSIM_PATH, "--link", link});
        const std::string path = camsim.FirstLine();
        EXPECT_EQ(path.rfind("/dev/pts/", 0), 0u) << path;
        EXPECT_EQ(std::filesystem::read_symlink(link).string(), path);
        EXPECT_EQ(camsim.Stop(), 0);
    }
    EXPECT_FALSE(std::filesystem::is_symlink(link)) << "the link goes with the program";
    const auto usage = testing_support::RunProcess({CAMSIM_PATH, "--model", "RV9"});
    EXPECT_EQ(usage.exitStatus, 2);
}
