#include "camera/audit/AuditTrail.h"

#include "camera/audit/JsonText.h"
#include "camera/audit/Sha256.h"
#include "camera/audit/TrailFile.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using Json = nlohmann::ordered_json;

namespace {

// The hash a first line links to: there is no line before it.
const std::string kNoLineBefore(64, '0');
// A line longer than this is no line of ours; the trail is read no further than that back.
constexpr std::size_t kLineMax = 64 * 1024;

std::string Reason(const char* what, const std::string& path, int code)
{
    return std::string(what) + " " + path + ": " + std::strerror(code);
}

std::string UtcNowMs()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm utc{};
    ::gmtime_r(&seconds, &utc);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<int>(ms));
    return text;
}

std::string UserName()
{
    if (const passwd* entry = ::getpwuid(::getuid()))
        return entry->pw_name;
    const char* user = std::getenv("USER");
    return user ? user : std::to_string(::getuid());
}

std::string HostName()
{
    char name[256] = {};
    if (::gethostname(name, sizeof name - 1) != 0)
        return "unknown";
    return name;
}

// The last line of the open file (without its newline), empty for an empty file.
bool LastLine(int fd, std::string& line, std::string& error, const std::string& path)
{
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        error = Reason("cannot look at", path, errno);
        return false;
    }
    const off_t size = info.st_size;
    const off_t from = size > static_cast<off_t>(kLineMax + 1) ? size - kLineMax - 1 : 0;
    std::string tail(static_cast<std::size_t>(size - from), '\0');
    std::size_t got = 0;
    while (got < tail.size()) {
        const ssize_t n = ::pread(fd, tail.data() + got, tail.size() - got, from + got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            error = Reason("cannot read", path, n < 0 ? errno : EIO);
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    if (!tail.empty() && tail.back() == '\n')
        tail.pop_back();
    const std::size_t start = tail.rfind('\n');
    line = start == std::string::npos ? tail : tail.substr(start + 1);
    return true;
}

bool WriteAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

std::string Text(const Json& object, const char* key)
{
    const auto it = object.find(key);
    if (it == object.end() || it->is_null())
        return {};
    return it->is_string() ? it->get<std::string>() : it->dump();
}

} // namespace

bool AppendAudit(const std::string& path, const AuditChange& change, std::string& error)
{
    return AppendAudit(path, std::vector<AuditChange>{change}, error);
}

bool AppendAudit(const std::string& path, const std::vector<AuditChange>& changes,
                 std::string& error)
{
    if (changes.empty())
        return true;
    const int fd = OpenTrailForAppend(path, error);
    if (fd < 0)
        return false;
    // One writer at a time, so that each line links to the one truly before it.
    while (::flock(fd, LOCK_EX) != 0) {
        if (errno != EINTR) {
            error = Reason("cannot lock", path, errno);
            ::close(fd);
            return false;
        }
    }
    std::string last;
    bool ok = LastLine(fd, last, error, path);
    if (ok) {
        const std::string time = UtcNowMs(), user = UserName(), host = HostName();
        std::string text;
        for (const AuditChange& change : changes) {
            Json line = Json::object();
            line["time"] = time;
            line["user"] = user;
            line["host"] = host;
            line["program"] = change.program;
            line["version"] = change.version;
            line["port"] = change.port;
            line["model"] = change.model;
            line["serial"] = change.serial;
            if (!change.setting.empty())
                line["setting"] = change.setting;
            if (change.address)
                line["register"] = *change.address;
            line["before"] = change.before ? Json(*change.before) : Json(nullptr);
            line["after"] = change.after ? Json(*change.after) : Json(nullptr);
            line["result"] = change.result;
            if (!change.file.empty()) {
                line["file"] = change.file;
                line["file_sha256"] = change.fileSha256;
            }
            line["prev"] = last.empty() ? kNoLineBefore : Sha256Hex(last);
            last = JsonText(line);
            text += last + "\n";
        }
        // The whole batch in one write and one sync: a load's lines cost one trip to the disk.
        if (!WriteAll(fd, text) || ::fsync(fd) != 0) {
            error = Reason("cannot write", path, errno);
            ok = false;
        }
    }
    ::flock(fd, LOCK_UN);
    ::close(fd);
    return ok;
}

std::optional<AuditBreak> VerifyAudit(const std::string& path, std::string& error)
{
    std::FILE* file = std::fopen(path.c_str(), "re");
    if (!file) {
        error = Reason("cannot open", path, errno);
        return std::nullopt;
    }
    std::optional<AuditBreak> broken;
    std::string previous;
    std::size_t number = 0;
    std::string line;
    for (int c = 0; (c = std::fgetc(file)) != EOF || !line.empty();) {
        if (c != '\n' && c != EOF) {
            if (line.size() <= kLineMax)
                line += static_cast<char>(c);
            continue;
        }
        ++number;
        const std::string expected = number == 1 ? kNoLineBefore : Sha256Hex(previous);
        std::string link;
        try {
            link = Text(Json::parse(line), "prev");
        } catch (const Json::exception&) {
            broken = AuditBreak{number, "not a line of the trail"};
            break;
        }
        if (link != expected) {
            broken = AuditBreak{number, number == 1 ? "the trail's first line was removed"
                                                    : "the line before it was changed or removed"};
            break;
        }
        previous = std::move(line);
        line.clear();
        if (c == EOF)
            break;
    }
    std::fclose(file);
    return broken;
}

std::vector<AuditEntry> ReadAudit(const std::string& path, std::string& error)
{
    std::vector<AuditEntry> entries;
    std::FILE* file = std::fopen(path.c_str(), "re");
    if (!file) {
        error = Reason("cannot open", path, errno);
        return entries;
    }
    char buffer[4096];
    std::string line;
    while (std::fgets(buffer, sizeof buffer, file)) {
        line += buffer;
        if (line.back() != '\n' && !std::feof(file))
            continue;
        try {
            const Json object = Json::parse(line);
            if (object.is_object()) {
                std::string what = Text(object, "setting");
                if (what.empty() && object.contains("register"))
                    what = "register " + Text(object, "register");
                entries.push_back({Text(object, "time"), Text(object, "user"), Text(object, "host"),
                                   Text(object, "program"), Text(object, "port"),
                                   Text(object, "model"), Text(object, "serial"), what,
                                   Text(object, "before"), Text(object, "after"),
                                   Text(object, "result")});
            }
        } catch (const Json::exception&) {
        }
        line.clear();
    }
    std::fclose(file);
    return entries;
}
