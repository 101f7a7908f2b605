// The trail's files: never written through a planted link or into another user's file or folder,
// private unless kept in a shared group folder, and never chosen for a user without a home.
#include "camera/audit/AuditTrail.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <algorithm>

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

// One thing laid out in the test's folder before the append: a file, a folder (with its mode),
// a symbolic link or a hard link to target; owned by the caller, or by kOther.
enum class Kind { File, Folder, Link, HardLink };
struct Step {
    Kind kind;
    const char* path;
    const char* target = "";
    mode_t mode = 0700;
    bool other = false;
};

struct Case {
    const char* what;
    mode_t umask;
    std::vector<Step> plant;
    const char* trail;
    std::string refusal; // a part of the error; empty when the line is appended
    mode_t fileMode;     // when appended
};

TEST(TrailFile, OnlyOursAndPrivateUnlessShared)
{
    using K = Kind;
    const std::string other = OtherName();
    const std::vector<Case> cases{
        {"made at umask 022", 022, {}, "state/Vireo/audit.jsonl", "", 0600},
        {"made at umask 077", 077, {}, "state/Vireo/audit.jsonl", "", 0600},
        {"symlinked file",
         022,
         {{K::File, "target"}, {K::Link, "audit.jsonl", "target"}},
         "audit.jsonl",
         "it is a symbolic link",
         0},
        {"dangling link", 022, {{K::Link, "audit.jsonl", "made"}}, "audit.jsonl", "symbolic", 0},
        {"hard link",
         022,
         {{K::File, "target"}, {K::HardLink, "audit.jsonl", "target"}},
         "audit.jsonl",
         "other names",
         0},
        {"symlinked folder of another user",
         022,
         {{K::Folder, "elsewhere"}, {K::Link, "Vireo", "elsewhere", 0, true}},
         "Vireo/audit.jsonl",
         "a symbolic link owned by " + other,
         0},
        {"file of another user",
         022,
         {{K::File, "target", "", 0644, true}},
         "target",
         "owned by " + other,
         0},
        {"folder of another user",
         022,
         {{K::Folder, "theirs", "", 0755, true}},
         "theirs/audit.jsonl",
         "its folder is owned by " + other,
         0},
        {"shared group folder",
         022,
         {{K::Folder, "shared", "", 02770}},
         "shared/audit.jsonl",
         "",
         0660},
        {"world-writable folder, another user's trail",
         022,
         {{K::Folder, "tmp", "", 01777}, {K::File, "tmp/audit.jsonl", "", 0666, true}},
         "tmp/audit.jsonl",
         "it is owned by " + other,
         0},
        {"shared folder, another member's trail",
         022,
         {{K::Folder, "shared", "", 02770}, {K::File, "shared/audit.jsonl", "", 0660, true}},
         "shared/audit.jsonl",
         "",
         0660},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const bool needsRoot = std::any_of(c.plant.begin(), c.plant.end(),
                                           [](const Step& step) { return step.other; });
        if (needsRoot && ::geteuid() != 0)
            continue; // planting another user's files takes root
        const std::string dir = MakeTempDir("vireo-trail");
        for (const Step& step : c.plant) {
            const std::string path = dir + "/" + step.path;
            const std::string target = dir + "/" + step.target;
            if (step.kind == K::File)
                std::ofstream{path};
            if (step.kind == K::Folder)
                ::mkdir(path.c_str(), 0700);
            if (step.kind == K::Link)
                ::symlink(target.c_str(), path.c_str());
            if (step.kind == K::HardLink)
                ::link(target.c_str(), path.c_str());
            if (step.kind == K::File || step.kind == K::Folder)
                ::chmod(path.c_str(), step.mode);
            if (step.other)
                ::lchown(path.c_str(), kOther, static_cast<gid_t>(-1));
        }
        const std::string path = dir + "/" + c.trail;
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
        // Nothing was written through a link, nor made where a dangling one points.
        struct stat target {};
        EXPECT_TRUE(::stat((dir + "/target").c_str(), &target) != 0 || target.st_size == 0);
        EXPECT_NE(::access((dir + "/made").c_str(), F_OK), 0);
        if (c.plant.empty()) {
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
