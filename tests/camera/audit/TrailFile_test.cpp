// The trail's files: never written through a planted link or into another user's file or folder,
// private unless kept in a shared group folder, and never chosen for a user without a home.
#include "camera/audit/AuditTrail.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace testing_support;

namespace {

// A user other than the caller, for files and links planted by someone else (root only).
constexpr uid_t kOther = 65534;

std::string OtherName()
{
    const passwd* other = ::getpwuid(kOther);
    return other ? other->pw_name : "uid 65534";
}

mode_t ModeOf(const std::string& path)
{
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

std::string Append(const std::string& path)
{
    AuditChange change;
    change.program = "test";
    change.address = 0x20;
    change.result = "ok";
    std::string error;
    return AppendAudit(path, change, error) ? "" : error;
}

struct Case {
    const char* what;
    bool needsRoot;
    mode_t umask;
    // Lays out the folder (dir) and returns the trail's path.
    std::function<std::string(const std::string& dir)> plant;
    std::string refusal;   // a part of the error; empty when the line is appended
    mode_t fileMode;       // when appended
    std::string untouched; // a file that must stay empty, relative to dir
};

TEST(TrailFile, OnlyOursAndPrivateUnlessShared)
{
    const auto folder = [](const std::string& path, mode_t mode, uid_t owner) {
        ::mkdir(path.c_str(), mode);
        ::chmod(path.c_str(), mode);
        ::chown(path.c_str(), owner, static_cast<gid_t>(-1));
    };
    const auto file = [](const std::string& path, uid_t owner) {
        std::ofstream{path};
        ::chown(path.c_str(), owner, static_cast<gid_t>(-1));
    };
    const uid_t me = ::geteuid();
    const std::vector<Case> cases{
        {"made at umask 022", false, 022, [](auto& d) { return d + "/state/Vireo/audit.jsonl"; },
         "", 0600, ""},
        {"made at umask 077", false, 077, [](auto& d) { return d + "/state/Vireo/audit.jsonl"; },
         "", 0600, ""},
        {"symlinked file", false, 022,
         [&](auto& d) {
             file(d + "/target", me);
             ::symlink((d + "/target").c_str(), (d + "/audit.jsonl").c_str());
             return d + "/audit.jsonl";
         },
         "it is a symbolic link", 0, "target"},
        {"dangling link", false, 022,
         [](auto& d) {
             ::symlink((d + "/made").c_str(), (d + "/audit.jsonl").c_str());
             return d + "/audit.jsonl";
         },
         "it is a symbolic link", 0, ""},
        {"hard link", false, 022,
         [&](auto& d) {
             file(d + "/target", me);
             ::link((d + "/target").c_str(), (d + "/audit.jsonl").c_str());
             return d + "/audit.jsonl";
         },
         "other names", 0, "target"},
        {"symlinked folder of another user", true, 022,
         [&](auto& d) {
             folder(d + "/elsewhere", 0700, me);
             ::symlink((d + "/elsewhere").c_str(), (d + "/Vireo").c_str());
             ::lchown((d + "/Vireo").c_str(), kOther, static_cast<gid_t>(-1));
             return d + "/Vireo/audit.jsonl";
         },
         "a symbolic link owned by " + OtherName(), 0, ""},
        {"file of another user", true, 022,
         [&](auto& d) {
             file(d + "/audit.jsonl", kOther);
             return d + "/audit.jsonl";
         },
         "it is owned by " + OtherName(), 0, "audit.jsonl"},
        {"folder of another user", true, 022,
         [&](auto& d) {
             folder(d + "/theirs", 0755, kOther);
             return d + "/theirs/audit.jsonl";
         },
         "its folder is owned by " + OtherName(), 0, ""},
        {"shared group folder", false, 022,
         [&](auto& d) {
             folder(d + "/shared", 02770, me);
             return d + "/shared/audit.jsonl";
         },
         "", 0660, ""},
        {"shared folder, another member's trail", true, 022,
         [&](auto& d) {
             folder(d + "/shared", 02770, me);
             file(d + "/shared/audit.jsonl", kOther);
             ::chmod((d + "/shared/audit.jsonl").c_str(), 0660);
             return d + "/shared/audit.jsonl";
         },
         "", 0660, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        if (c.needsRoot && me != 0)
            continue; // planting another user's files takes root
        const std::string dir = MakeTempDir("vireo-trail");
        const std::string path = c.plant(dir);
        const mode_t before = ::umask(c.umask);
        const std::string error = Append(path);
        ::umask(before);
        if (!c.refusal.empty()) {
            EXPECT_NE(error.find(c.refusal), std::string::npos) << error;
            EXPECT_EQ(error.find('\n'), std::string::npos);
        } else {
            EXPECT_EQ(error, "");
            EXPECT_EQ(ModeOf(path), c.fileMode);
        }
        if (!c.untouched.empty()) {
            struct stat info {};
            ASSERT_EQ(::stat((dir + "/" + c.untouched).c_str(), &info), 0);
            EXPECT_EQ(info.st_size, 0);
        }
        EXPECT_NE(::access((dir + "/made").c_str(), F_OK), 0) << "nothing made through a link";
        if (std::string(c.what).rfind("made", 0) == 0) {
            EXPECT_EQ(ModeOf(dir + "/state"), 0700u);
            EXPECT_EQ(ModeOf(dir + "/state/Vireo"), 0700u);
        }
        RemoveTree(dir);
    }
}

TEST(TrailFile, NoHomeNoDefault)
{
    const char* home = std::getenv("HOME");
    const char* state = std::getenv("XDG_STATE_HOME");
    const std::string oldHome = home ? home : "";
    const std::string oldState = state ? state : "";
    ::unsetenv("XDG_STATE_HOME");
    for (const char* value : {static_cast<const char*>(nullptr), "", "/", "relative"}) {
        SCOPED_TRACE(value ? value : "(unset)");
        value ? ::setenv("HOME", value, 1) : ::unsetenv("HOME");
        EXPECT_EQ(DefaultAuditPath(), "");
        EXPECT_EQ(Append(DefaultAuditPath()).rfind("no place for the audit trail", 0), 0u);
    }
    ::setenv("HOME", "/home/x", 1);
    EXPECT_EQ(DefaultAuditPath(), "/home/x/.local/state/VireoStudio/audit.jsonl");
    home ? ::setenv("HOME", oldHome.c_str(), 1) : ::unsetenv("HOME");
    if (state)
        ::setenv("XDG_STATE_HOME", oldState.c_str(), 1);
}

} // namespace
