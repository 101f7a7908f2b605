// One user action as the port sees it, on real pseudo-terminals with the simulated camera: the
// first link failure ends the action's sending, nothing outlives the action, and a device that
// went away is reopened by the next action.
#include "camera/RVXReg.h"
#include "comm/LinkAction.h"
#include "platform/camlink/ClLibrary.h"
#include "platform/wait/Wait.h"
#include "tests/support/TestEnvironment.h"
#include "tests/support/PtyCamera.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <unistd.h>

using namespace testing_support;
using namespace std::chrono_literals;

namespace {

// The Camera Link port of this program is the simulated grabber, with a camera that never answers.
const bool g_silentGrabber = setenv(camlink::kLibraryVariable, CLSIM_PATH, 1) == 0 &&
                             setenv("CLSIM_CONFIG", "camera=silent", 1) == 0;

constexpr int kReads = 4;

int CountStarting(const std::vector<std::string>& records, const std::string& start)
{
    return static_cast<int>(std::count_if(records.begin(), records.end(),
                                          [&](const auto& r) { return r.rfind(start, 0) == 0; }));
}

class LinkActionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string failure;
        ASSERT_TRUE(pty.Attach(facade, 150, failure)) << failure;
        ASSERT_EQ(facade.Open(), 1);
    }

    // One action of kReads reads; their result codes.
    std::vector<int> ReadAction()
    {
        std::vector<int> results;
        {
            CLinkAction action(facade);
            for (int i = 0; i < kReads; ++i) {
                std::uint8_t value = 0;
                results.push_back(reg.ReadRegister(0x20 + i, value).Code());
            }
        }
        TakeNotice();
        return results;
    }

    // What the place where the action ends shows: the action's one notice, if any.
    void TakeNotice()
    {
        if (std::string notice = facade.TakeNotice(); !notice.empty())
            notices.push_back(std::move(notice));
    }

    LogRecorder log;
    std::vector<std::string> notices;
    PtyCamera pty;
    camsim::Camera& camera = pty.camera;
    CComIF facade;
    CRVXReg reg{&facade};
};

struct ActionCase {
    const char* name;
    camsim::Fault fault;
    bool cancelled; // the user cancelled before the action's first exchange
    int sends;      // requests that reach the wire
    int result;     // every read's result
    int notices;
    const char* endRecord; // the action's last record, or null when it leaves none
};

TEST_F(LinkActionTest, FirstLinkFailureEndsTheActionsSendingAndNothingOutlivesIt)
{
    const ActionCase cases[] = {
        {"healthy", camsim::Fault::None, false, kReads, 0, 0, nullptr},
        {"silent", camsim::Fault::Silent, false, 1, LINK_TIMEOUT, 1,
         "STAT: Link error 256: 3 exchanges skipped\r"},
        // A NAK is the camera's answer, not a failure of the link.
        {"refusing", camsim::Fault::Nak, false, kReads, 1, 0, nullptr},
        {"cancelled", camsim::Fault::None, true, 0, LINK_CANCELLED, 0,
         "STAT: Cancelled by the user: 4 exchanges skipped\r"},
    };
    for (const ActionCase& c : cases) {
        SCOPED_TRACE(c.name);
        camera.SetFaults({c.fault, false, 0, 0});
        log.Clear();
        const std::size_t noticesBefore = notices.size();
        std::vector<int> results;
        int resultsWithNotice = 0; // a script line prints each one
        {
            CLinkAction action(facade);
            if (c.cancelled)
                facade.RequestCancel();
            for (int i = 0; i < kReads; ++i) {
                std::uint8_t value = 0;
                const CResult result = reg.ReadRegister(0x20 + i, value);
                results.push_back(result.Code());
                resultsWithNotice += result.Notice().empty() ? 0 : 1;
            }
            EXPECT_EQ(action.Skipped(), kReads - c.sends);
        }
        TakeNotice();
        EXPECT_EQ(resultsWithNotice, c.notices) << "the skipped exchanges do not tell it again";
        EXPECT_EQ(results, std::vector<int>(kReads, c.result));
        const auto comm = log.Comm();
        EXPECT_EQ(CountStarting(comm, "SEND: "), c.sends);
        EXPECT_EQ(static_cast<int>(notices.size() - noticesBefore), c.notices);
        if (c.endRecord)
            EXPECT_EQ(comm.back(), c.endRecord);
        else
            EXPECT_EQ(CountStarting(comm, "STAT: "), 0);
        EXPECT_FALSE(facade.Cancel().Requested()) << "a cancel ends with its action";

        // The next action asks the camera again.
        camera.SetFaults({});
        log.Clear();
        EXPECT_EQ(ReadAction(), std::vector<int>(kReads, 0));
        EXPECT_EQ(CountStarting(log.Comm(), "SEND: "), kReads);
    }
}

TEST(LinkActionCameraLink, FirstLinkFailureEndsTheActionsSendingOnTheGrabberToo)
{
    ASSERT_TRUE(g_silentGrabber);
    ScopedSettingsDir settings;
    LogRecorder log;
    CComIF facade;
    facade.PortType = PORT_CAMERALINK;
    facade.m_Cas.Initialize();
    ASSERT_EQ(facade.m_Cas.SelectPort(0), 1);
    facade.m_Cas.m_Settings.HsTimeOut = 60;
    facade.m_Cas.m_Settings.Prefix = 2;
    facade.m_Cas.m_Settings.Suffix = 3;
    ASSERT_EQ(facade.m_Cas.Open(), 1);
    CRVXReg reg{&facade};
    for (int action = 0; action < 2; ++action) {
        log.Clear();
        std::vector<int> results;
        {
            CLinkAction scope(facade);
            for (int i = 0; i < kReads; ++i) {
                std::uint8_t value = 0;
                results.push_back(reg.ReadRegister(0x20 + i, value).Code());
            }
        }
        EXPECT_EQ(results, std::vector<int>(kReads, LINK_TIMEOUT));
        const auto comm = log.Comm();
        EXPECT_EQ(CountStarting(comm, "SEND: "), 1) << "each action sends once";
        ASSERT_FALSE(comm.empty());
        EXPECT_EQ(comm.back(), "STAT: Link error 256: 3 exchanges skipped\r");
    }
    facade.m_Cas.Close();
}

TEST_F(LinkActionTest, InnerScopesJoinTheOuterAction)
{
    camera.SetFaults({camsim::Fault::Silent, false, 0, 0});
    log.Clear();
    {
        CLinkAction outer(facade);
        std::uint8_t value = 0;
        {
            CLinkAction inner(facade);
            EXPECT_EQ(reg.ReadRegister(0x20, value), LINK_TIMEOUT);
        }
        EXPECT_EQ(reg.ReadRegister(0x21, value), LINK_TIMEOUT);
        EXPECT_EQ(outer.Failure(), LINK_TIMEOUT);
    }
    TakeNotice();
    EXPECT_EQ(CountStarting(log.Comm(), "SEND: "), 1);
    EXPECT_EQ(notices, std::vector<std::string>{"RCV Timeout"});
}

TEST_F(LinkActionTest, UnpluggedAndBackTheNextActionReopensTheSamePort)
{
    // The port is reached through a link that a restarted camera points at its new terminal,
    // as camsim's --link does.
    const std::string link = (std::filesystem::temp_directory_path() /
                              ("vireo-link-action-" + std::to_string(::getpid())))
                                 .string();
    std::filesystem::remove(link);
    std::filesystem::create_symlink(pty.Path(), link);
    facade.m_Rs232c.m_Settings.PortName = link;
    facade.m_Rs232c.m_Settings.HsTimeOut = 3000;
    ASSERT_EQ(facade.Open(), 1);
    EXPECT_EQ(ReadAction(), std::vector<int>(kReads, 0));

    // Unplugged during an action: one box naming the lost port, the rest not sent.
    camera.SetFaults({camsim::Fault::None, false, 300, 0});
    std::thread unplug([this] {
        std::this_thread::sleep_for(100ms);
        pty.server.Stop();
    });
    log.Clear();
    EXPECT_EQ(ReadAction(), std::vector<int>(kReads, LINK_TIMEOUT));
    unplug.join();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0], "the camera's port was lost: " + link);
    EXPECT_EQ(CountStarting(log.Comm(), "SEND: "), 1);
    EXPECT_EQ(CountStarting(log.Comm(), "STAT: Port lost: "), 1);

    // Plugged in again: the next action reopens the port once and goes on.
    PtyCamera second;
    std::string failure;
    ASSERT_TRUE(second.Start(failure)) << failure;
    std::filesystem::remove(link);
    std::filesystem::create_symlink(second.Path(), link);
    log.Clear();
    EXPECT_EQ(ReadAction(), std::vector<int>(kReads, 0));
    EXPECT_EQ(CountStarting(log.Comm(), "STAT: Port reopened " + link), 1);
    EXPECT_EQ(notices.size(), 1u);
    // Nothing is reopened while the port stays healthy.
    log.Clear();
    EXPECT_EQ(ReadAction(), std::vector<int>(kReads, 0));
    EXPECT_EQ(CountStarting(log.Comm(), "STAT: Port "), 0);
    facade.Close();
    std::filesystem::remove(link);
}

} // namespace

// Two cameras served by one process (vireoctl's parallel targets): each facade's cancel is its
// own, and a cancel ends a wait at once rather than at its time-out.
TEST(LinkActionCancel, CancellingOneFacadeLeavesTheOthersExchangeToFinish)
{
    ScopedSettingsDir settings;
    PtyCamera first;
    PtyCamera second;
    CComIF cancelled;
    CComIF finishing;
    std::string failure;
    ASSERT_TRUE(first.Attach(cancelled, 5000, failure)) << failure;
    ASSERT_TRUE(second.Attach(finishing, 5000, failure)) << failure;
    ASSERT_EQ(cancelled.Open(), 1);
    ASSERT_EQ(finishing.Open(), 1);
    first.camera.SetFaults({camsim::Fault::None, false, 400, 0});
    second.camera.SetFaults({camsim::Fault::None, false, 400, 0});

    struct Outcome {
        int code = -1;
        std::chrono::steady_clock::duration took{};
    };
    const auto read = [](CComIF& facade, Outcome& outcome) {
        CRVXReg reg{&facade};
        const CLinkAction action(facade);
        std::uint8_t value = 0;
        const auto start = std::chrono::steady_clock::now();
        outcome.code = reg.ReadRegister(0x20, value).Code();
        outcome.took = std::chrono::steady_clock::now() - start;
    };
    Outcome one;
    Outcome two;
    std::thread a([&] { read(cancelled, one); });
    std::thread b([&] { read(finishing, two); });
    std::this_thread::sleep_for(100ms);
    cancelled.RequestCancel();
    a.join();
    b.join();
    EXPECT_EQ(one.code, LINK_CANCELLED);
    EXPECT_LT(one.took, 390ms) << "the cancel ended the wait before the reply";
    EXPECT_EQ(two.code, 0);
    EXPECT_GE(two.took, 390ms);
    cancelled.Close();
    finishing.Close();
}
