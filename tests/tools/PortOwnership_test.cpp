// A port another live program holds is never taken, whoever runs vireoctl, and the refusal names
// the holder; a port nobody holds is taken with a UUCP lock file of ours, and given back (flag and
// lock file) when vireoctl is ended by a signal.
#include "tests/support/Process.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace testing_support;

namespace {

// What a holder does: set the exclusive flag, take a flock, write a UUCP lock file with its PID
// (or with that of a process gone); killed, it leaves its flag behind.
enum Holder : unsigned { kFlag = 1, kFlock = 2, kLockFile = 4, kDeadLockFile = 8, kKilled = 16 };

// The user that holders and unprivileged callers run as: one made for the test when it runs as
// root, else the user running it.
struct User {
    std::string name;
    uid_t uid = 0;
    gid_t gid = 0;
};

class PortOwnership : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (::geteuid() != 0) {
            const passwd* self = ::getpwuid(::geteuid());
            s_user = {self ? self->pw_name : std::to_string(::geteuid()), ::geteuid(), ::getegid()};
            return;
        }
        s_user.name = "vireo-port" + std::to_string(::getpid());
        RunProcess({"/usr/sbin/useradd", "--system", "--no-create-home", "--shell",
                    "/usr/sbin/nologin", s_user.name});
        if (const passwd* made = ::getpwnam(s_user.name.c_str()))
            s_user = {s_user.name, made->pw_uid, made->pw_gid};
        else
            s_user.name.clear();
    }
    static void TearDownTestSuite()
    {
        if (::geteuid() == 0 && !s_user.name.empty())
            RunProcess({"/usr/sbin/userdel", s_user.name});
    }

    void SetUp() override
    {
        if (::geteuid() == 0 && s_user.name.empty())
            GTEST_SKIP() << "useradd could not make an unprivileged user";
        dir = MakeTempDir("vireo-ownership");
        // The unprivileged user keeps its settings here.
        if (::geteuid() == 0)
            ::chown(dir.c_str(), s_user.uid, s_user.gid);
        std::ofstream(dir + "/script") << "read 20\nsleep 5000\n";
    }
    // A camera on a terminal of its own: a flag outlives its holder while camsim holds the
    // terminal open.
    void StartCamera()
    {
        camsim = std::make_unique<CamsimProgram>(CAMSIM_PATH, std::vector<std::string>{});
        device = camsim->device;
        ASSERT_FALSE(device.empty());
        lockFile = "/run/lock/LCK.." + device.substr(5);
        lockFile.replace(lockFile.rfind('/'), 1, "_");
        if (::geteuid() == 0)
            ::chmod(device.c_str(), 0666); // for the unprivileged user
    }
    void TearDown() override
    {
        EndHolder();
        if (!lockFile.empty())
            ::unlink(lockFile.c_str());
        RemoveTree(dir);
    }

    // vireoctl as root, or as the unprivileged user.
    std::vector<std::string> Command(bool asRoot, std::vector<std::string> args) const
    {
        std::vector<std::string> argv{"/usr/bin/env", "XDG_CONFIG_HOME=" + dir,
                                      "XDG_STATE_HOME=" + dir};
        if (!asRoot && ::geteuid() == 0)
            argv.insert(argv.end(), {"/usr/bin/setpriv", "--reuid=" + std::to_string(s_user.uid),
                                     "--regid=" + std::to_string(s_user.gid), "--clear-groups"});
        argv.insert(argv.end(), {VIREOCTL_PATH, "--port", device});
        argv.insert(argv.end(), args.begin(), args.end());
        return argv;
    }

    // A program named minicom, run as the user, holding the port the holder's way until ended.
    void StartHolder(unsigned holder)
    {
        int ready[2];
        ASSERT_EQ(::pipe(ready), 0);
        ASSERT_EQ(::pipe(m_release), 0);
        m_holder = ::fork();
        if (m_holder == 0) {
            EndWithParent();
            ::close(ready[0]);
            ::close(m_release[1]);
            ::prctl(PR_SET_NAME, "minicom");
            if (::geteuid() == 0 && (::setgid(s_user.gid) != 0 || ::setuid(s_user.uid) != 0))
                _exit(1);
            // As a program the user started: its /proc entries are the user's to read.
            ::prctl(PR_SET_DUMPABLE, 1);
            if (holder & (kFlag | kFlock)) {
                const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
                if (fd < 0 || ((holder & kFlag) && ::ioctl(fd, TIOCEXCL) != 0) ||
                    ((holder & kFlock) && ::flock(fd, LOCK_EX | LOCK_NB) != 0))
                    _exit(1);
            }
            char byte = 0;
            [[maybe_unused]] ssize_t n = ::write(ready[1], &byte, 1);
            n = ::read(m_release[0], &byte, 1);
            _exit(0);
        }
        ::close(ready[1]);
        ::close(m_release[0]);
        char byte = 1;
        ASSERT_EQ(::read(ready[0], &byte, 1), 1) << "the holder could not hold the port";
        ::close(ready[0]);
        if (holder & kLockFile)
            WriteLockFile(m_holder);
        if (holder & kDeadLockFile) {
            const pid_t gone = ::fork();
            if (gone == 0)
                _exit(0);
            ::waitpid(gone, nullptr, 0);
            WriteLockFile(gone);
        }
        if (holder & kKilled) {
            ::kill(m_holder, SIGKILL);
            EndHolder();
        }
    }
    void EndHolder()
    {
        if (m_holder <= 0)
            return;
        ::close(m_release[1]);
        ::waitpid(m_holder, nullptr, 0);
        m_holder = -1;
    }
    void WriteLockFile(pid_t pid) const
    {
        char text[16];
        std::snprintf(text, sizeof text, "%10d\n", pid);
        std::ofstream(lockFile) << text;
        ::chown(lockFile.c_str(), s_user.uid, s_user.gid);
    }

    // Whether the terminal is flagged for exclusive use (a flagged one does not open for a user).
    bool Flagged() const
    {
        const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
        if (fd < 0)
            return errno == EBUSY;
        int flag = 0;
        ::ioctl(fd, TIOCGEXCL, &flag);
        ::close(fd);
        return flag != 0;
    }

    // The process the lock file names, once one that is vireoctl does (within a few seconds).
    bool LockFileNamesVireoctl() const
    {
        for (int tries = 0; tries < 250; ++tries) {
            std::ifstream lock(lockFile);
            pid_t pid = 0;
            std::string comm;
            if (lock >> pid)
                std::getline(std::ifstream("/proc/" + std::to_string(pid) + "/comm"), comm);
            if (comm == "vireoctl")
                return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return false;
    }

    void RunTable(bool asRoot);

    static User s_user;
    std::unique_ptr<CamsimProgram> camsim;
    std::string device;
    std::string lockFile;
    std::string dir;
    pid_t m_holder = -1;
    int m_release[2] = {-1, -1};
};

User PortOwnership::s_user;

struct Case {
    const char* what;
    unsigned holder;
    bool refusedAsRoot;
    bool refusedAsUser;
    bool flaggedAfterRefusal; // the holder's flag survives the attempt
};

const Case kCases[] = {
    {"exclusive flag only (C serial libraries)", kFlag, true, true, true},
    {"flock only", kFlock, true, true, false},
    {"UUCP lock file of a live process", kLockFile, true, true, false},
    {"UUCP lock file of a process gone", kDeadLockFile, false, false, false},
    {"flag and lock file (Qt)", kFlag | kLockFile, true, true, true},
    {"flag left by a killed program", kFlag | kKilled, false, true, true},
};

void PortOwnership::RunTable(bool asRoot)
{
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.what) + (asRoot ? ", as root" : ", as a user"));
        StartCamera();
        StartHolder(c.holder);
        const pid_t holder = m_holder;
        const bool refused = asRoot ? c.refusedAsRoot : c.refusedAsUser;
        if (refused) {
            const auto run = RunProcess(Command(asRoot, {"read", "20"}));
            EXPECT_EQ(run.exitStatus, 1);
            const std::string named =
                "in use by minicom (PID " + std::to_string(holder) + ", user " + s_user.name + ")";
            const std::string text = holder > 0 ? named : "no process you can see holds it";
            EXPECT_EQ(run.err.rfind("error: cannot open port " + device + ": ", 0), 0u) << run.err;
            EXPECT_NE(run.err.find(text), std::string::npos) << run.err;
            EXPECT_EQ(Flagged(), c.flaggedAfterRefusal);
        } else {
            BackgroundProcess run(Command(asRoot, {"script", dir + "/script"}));
            EXPECT_TRUE(LockFileNamesVireoctl()) << "the stale lock file is replaced by ours";
            // Ended by a signal, it gives back the flag and its lock file.
            run.Stop(SIGTERM);
            EXPECT_FALSE(Flagged());
            EXPECT_NE(::access(lockFile.c_str(), F_OK), 0);
        }
        EndHolder();
        ::unlink(lockFile.c_str());
    }
}

} // namespace

TEST_F(PortOwnership, AsRoot)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "root's cases need the test to run as root";
    RunTable(true);
}

TEST_F(PortOwnership, AsAnUnprivilegedUser)
{
    RunTable(false);
}

// One device under two names is refused on the command line, not found in use by itself.
TEST_F(PortOwnership, OneDeviceUnderTwoNamesIsRefused)
{
    StartCamera();
    std::vector<std::string> argv =
        Command(true, {"--port", "/dev/../dev/" + device.substr(5), "identify"});
    const auto run = RunProcess(argv);
    EXPECT_EQ(run.exitStatus, 2);
    EXPECT_EQ(Lines(run.err).front(),
              "/dev/../dev/" + device.substr(5) + ": the same device as " + device);
}
