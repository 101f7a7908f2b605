// What the atomic write does with each kind of name: a regular file is replaced with its
// permissions kept, a symbolic link leads to its target (the link stays), and a device, FIFO,
// socket or folder is refused and left as it was.
#include "platform/files/AtomicFile.h"
#include "tests/support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <dirent.h>
#include <fstream>
#include <functional>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

std::string Contents(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Put(const std::string& path, const std::string& text, mode_t mode)
{
    std::ofstream(path) << text;
    chmod(path.c_str(), mode);
}

std::size_t EntryCount(const std::string& dir)
{
    std::size_t count = 0;
    if (DIR* d = opendir(dir.c_str())) {
        while (dirent* entry = readdir(d))
            if (entry->d_name[0] != '.')
                ++count;
        closedir(d);
    }
    return count;
}

bool MakeSocket(const std::string& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    path.copy(address.sun_path, path.size());
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound =
        fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    if (fd >= 0)
        close(fd);
    return bound;
}

mode_t TypeOf(const std::string& path)
{
    struct stat info {};
    return lstat(path.c_str(), &info) == 0 ? (info.st_mode & S_IFMT) : 0;
}

mode_t PermissionsOf(const std::string& path)
{
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0;
}

struct Kind {
    const char* name;
    bool needsRoot;
    // Makes the name to write to inside dir; false when the kind cannot be made here.
    std::function<bool(const std::string& dir)> make;
    const char* refusal; // nullptr: the write succeeds
    // Where the new text must be found after a successful write, relative to dir.
    const char* written;
    mode_t keptPermissions; // 0: not checked
};

} // namespace

TEST(AtomicFile, EachKindOfNameIsReplacedFollowedOrRefused)
{
    const std::string versions = "versions";
    const Kind kinds[] = {
        {"new file", false, [](const std::string&) { return true; }, nullptr, "target", 0},
        {"existing file", false,
         [](const std::string& d) {
             Put(d + "/target", "old", 0640);
             return true;
         },
         nullptr, "target", 0640},
        {"link into another folder", false,
         [](const std::string& d) {
             mkdir((d + "/versions").c_str(), 0700);
             Put(d + "/versions/v1.json", "old", 0604);
             return symlink("versions/v1.json", (d + "/target").c_str()) == 0;
         },
         nullptr, "versions/v1.json", 0604},
        {"chain of links, absolute", false,
         [](const std::string& d) {
             mkdir((d + "/versions").c_str(), 0700);
             Put(d + "/versions/v2.json", "old", 0600);
             return symlink((d + "/versions/v2.json").c_str(), (d + "/middle").c_str()) == 0 &&
                    symlink("middle", (d + "/target").c_str()) == 0;
         },
         nullptr, "versions/v2.json", 0600},
        {"link to a file not yet there", false,
         [](const std::string& d) {
             mkdir((d + "/versions").c_str(), 0700);
             return symlink("versions/v3.json", (d + "/target").c_str()) == 0;
         },
         nullptr, "versions/v3.json", 0},
        {"folder", false,
         [](const std::string& d) { return mkdir((d + "/target").c_str(), 0700) == 0; },
         "is a folder", nullptr, 0},
        {"FIFO", false,
         [](const std::string& d) { return mkfifo((d + "/target").c_str(), 0600) == 0; },
         "is a FIFO", nullptr, 0},
        {"socket", false, [](const std::string& d) { return MakeSocket(d + "/target"); },
         "is a socket", nullptr, 0},
        {"device", true,
         [](const std::string& d) {
             return mknod((d + "/target").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
         },
         "is a device", nullptr, 0},
        {"link to a FIFO", false,
         [](const std::string& d) {
             return mkfifo((d + "/fifo").c_str(), 0600) == 0 &&
                    symlink("fifo", (d + "/target").c_str()) == 0;
         },
         "which is a FIFO", nullptr, 0},
        {"link loop", false,
         [](const std::string& d) {
             return symlink("other", (d + "/target").c_str()) == 0 &&
                    symlink("target", (d + "/other").c_str()) == 0;
         },
         "cannot save to", nullptr, 0},
    };

    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name);
        if (kind.needsRoot && geteuid() != 0) {
            std::printf("skipped \"%s\": needs root to make a device node\n", kind.name);
            continue;
        }
        const std::string dir = testing_support::MakeTempDir("atomic-kinds");
        ASSERT_TRUE(kind.make(dir));
        const std::string path = dir + "/target";
        const mode_t typeBefore = TypeOf(path);
        const std::size_t entriesBefore = EntryCount(dir);

        std::string error;
        const bool ok = WriteFileAtomically(path, "new", error);
        if (kind.refusal) {
            EXPECT_FALSE(ok);
            EXPECT_NE(error.find(kind.refusal), std::string::npos) << error;
            EXPECT_EQ(TypeOf(path), typeBefore) << "left as it was";
            EXPECT_EQ(EntryCount(dir), entriesBefore) << "no temporary file left";
            // Reading one back is refused as well, at once (a FIFO without a writer included).
            std::string contents;
            EXPECT_FALSE(ReadSmallFile(path, 1024, contents, error));
        } else {
            ASSERT_TRUE(ok) << error;
            EXPECT_EQ(Contents(dir + "/" + kind.written), "new");
            // A link stays a link; the write lands in the target's own folder.
            EXPECT_EQ(TypeOf(path), typeBefore ? typeBefore : S_IFREG);
            EXPECT_EQ(EntryCount(dir), entriesBefore + (typeBefore ? 0 : 1));
            if (TypeOf(dir + "/" + versions) == S_IFDIR) {
                EXPECT_EQ(EntryCount(dir + "/" + versions), 1u) << "no temporary file left";
            }
            if (kind.keptPermissions) {
                EXPECT_EQ(PermissionsOf(dir + "/" + kind.written), kind.keptPermissions);
            }
        }
        testing_support::RemoveTree(dir);
    }
}
