#include "camera/audit/AuditTrail.h"

#include "camera/audit/JsonText.h"
#include "camera/audit/Sha256.h"
#include "platform/files/SystemCalls.h"
#include "platform/files/TrailFile.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

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

std::string UtcMs(std::chrono::system_clock::time_point now)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() %
        1000;
    std::tm utc{};
    files::UtcFields(seconds, utc);
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d:%02d:%02d.%03dZ", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec,
                  static_cast<int>(ms));
    return text;
}

// The end of the open file: its last bytes, enough to hold a partial last line and the whole
// line before it. from is where they begin.
bool ReadTail(int fd, std::int64_t size, std::string& tail, std::int64_t& from, std::string& error,
              const std::string& path)
{
    const std::int64_t window = 2 * static_cast<std::int64_t>(kLineMax + 1) + 1;
    from = size > window ? size - window : 0;
    tail.assign(static_cast<std::size_t>(size - from), '\0');
    std::size_t got = 0;
    while (got < tail.size()) {
        int code = EIO;
        const long long n = files::ReadAt(fd, tail.data() + got, tail.size() - got,
                                          from + static_cast<std::int64_t>(got), code);
        if (n <= 0) {
            error = Reason("cannot read", path, code);
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    return true;
}

// The last line of text that ends before end (without its line end), empty when there is none.
std::string LineBefore(const std::string& text, std::size_t end)
{
    if (end > 0 && text[end - 1] == '\n')
        --end;
    const std::size_t start = end == 0 ? std::string::npos : text.rfind('\n', end - 1);
    return start == std::string::npos ? text.substr(0, end)
                                      : text.substr(start + 1, end - start - 1);
}

// text parsed, when it is a whole line as appends write them: a JSON object with its link.
std::optional<Json> TrailLine(const std::string& text)
{
    if (text.size() > kLineMax || text.find('\0') != std::string::npos)
        return std::nullopt;
    try {
        Json line = Json::parse(text);
        if (line.is_object() && line.contains("prev") && line["prev"].is_string())
            return line;
    } catch (const Json::exception&) {
    }
    return std::nullopt;
}

// Reads a file a line at a time through a fixed buffer. A line is held up to kLineMax + 1
// bytes and the rest of a longer one passed over, so no line costs more than that.
class LineReader {
public:
    explicit LineReader(std::FILE* file) : m_file(file) {}

    // The next line without its line end; false at the end of the file or on a read error.
    bool Next(std::string& line)
    {
        line.clear();
        ended = false;
        bool any = false;
        for (;;) {
            if (m_pos == m_len) {
                m_pos = 0;
                m_len = std::fread(m_buffer.data(), 1, m_buffer.size(), m_file);
                if (m_len == 0) {
                    if (std::ferror(m_file))
                        errorCode = errno ? errno : EIO;
                    return any && errorCode == 0;
                }
            }
            any = true;
            const char* start = m_buffer.data() + m_pos;
            const auto* newline = static_cast<const char*>(std::memchr(start, '\n', m_len - m_pos));
            const std::size_t length =
                newline ? static_cast<std::size_t>(newline - start) : m_len - m_pos;
            const std::size_t room = line.size() > kLineMax ? 0 : kLineMax + 1 - line.size();
            line.append(start, std::min(length, room));
            m_pos += length;
            if (newline) {
                ++m_pos;
                ended = true;
                return true;
            }
        }
    }

    bool ended = false; // the line had its line end
    int errorCode = 0;  // why reading stopped early

private:
    std::FILE* m_file;
    std::array<char, 64 * 1024> m_buffer{};
    std::size_t m_pos = 0;
    std::size_t m_len = 0;
};

// Why line is no line of the trail linking to expected; empty when it is one. parsed is the
// line's JSON, when it is one.
std::string LineProblem(const std::string& line, const std::optional<Json>& parsed, bool ended,
                        const std::string& expected, bool first)
{
    if (line.size() > kLineMax)
        return "not a line of the trail: longer than 64 KiB";
    if (line.find('\0') != std::string::npos)
        return "not a line of the trail: it holds a NUL byte";
    if (!parsed)
        return ended ? "not a line of the trail"
                     : "cut short: the last line has no line end and is not a whole line";
    if ((*parsed)["prev"].get<std::string>() != expected)
        return first ? "the trail's first line was removed"
                     : "the line before it was changed or removed";
    return {};
}

Json RegistersJson(const std::vector<RegisterChange>& registers)
{
    const auto value = [](const std::optional<std::string>& text,
                          const std::optional<int>& number) {
        return text ? Json(*text) : number ? Json(*number) : Json(nullptr);
    };
    Json list = Json::array();
    for (const RegisterChange& change : registers)
        list.push_back({{"register", change.address},
                        {"before", value(change.textBefore, change.before)},
                        {"after", value(change.textAfter, change.after)},
                        {"result", change.result}});
    return list;
}

std::string Text(const Json& object, const char* key)
{
    const auto it = object.find(key);
    if (it == object.end() || it->is_null())
        return {};
    return it->is_string() ? it->get<std::string>() : it->dump();
}

// "63: C -> 22, 62: ? -> 1" of a line's registers: in hexadecimal, as the command line takes
// them; a text (a serial number) as it is.
std::string RegistersText(const Json& object)
{
    const auto it = object.find("registers");
    if (it == object.end() || !it->is_array())
        return {};
    const auto value = [](const Json& entry, const char* key) -> std::string {
        const auto found = entry.find(key);
        if (found == entry.end() || found->is_null())
            return "?";
        if (!found->is_number_integer())
            return Text(entry, key);
        char hex[24];
        std::snprintf(hex, sizeof hex, "%llX", found->get<long long>());
        return hex;
    };
    std::string text;
    for (const Json& entry : *it) {
        if (!entry.is_object())
            continue;
        text += (text.empty() ? "" : ", ") + value(entry, "register") + ": " +
                value(entry, "before") + " -> " + value(entry, "after");
    }
    return text;
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
    int code = 0;
    if (!files::LockExclusive(fd, code)) {
        error = Reason("cannot lock", path, code);
        files::CloseFile(fd);
        return false;
    }
    std::int64_t size = 0;
    if (!files::SizeOf(fd, size, code)) {
        error = Reason("cannot look at", path, code);
        files::Unlock(fd);
        files::CloseFile(fd);
        return false;
    }
    std::string tail;
    std::int64_t from = 0;
    bool ok = ReadTail(fd, size, tail, from, error, path);
    if (ok) {
        const std::string user = files::UserName(), host = files::HostName();
        const std::string now = UtcMs(std::chrono::system_clock::now());
        std::string text; // what is appended
        std::string last; // the line the next one links to
        std::string cut;  // a partial last line taken off the end
        if (tail.empty() || tail.back() == '\n') {
            last = LineBefore(tail, tail.size());
        } else {
            const std::size_t newline = tail.rfind('\n');
            const std::string partial =
                newline == std::string::npos ? tail : tail.substr(newline + 1);
            const bool wholeLine = TrailLine(partial).has_value();
            if (wholeLine || partial.size() > kLineMax) {
                // A whole line that lost only its line end gets it back; more than a line's
                // worth without one is no line of ours and is not ours to cut either.
                text = "\n";
                last = partial;
            } else {
                cut = partial;
                last = LineBefore(tail, tail.size() - partial.size());
                Json repair = Json::object();
                repair["time"] = now;
                repair["user"] = user;
                repair["host"] = host;
                repair["program"] = changes.front().program;
                repair["version"] = changes.front().version;
                repair["repair"] = "cut a last line that had no line end";
                repair["cut_bytes"] = cut.size();
                repair["cut_sha256"] = Sha256Hex(cut);
                repair["cut"] = cut;
                repair["prev"] = last.empty() ? kNoLineBefore : Sha256Hex(last);
                last = JsonText(repair);
                text = last + "\n";
            }
        }
        for (const AuditChange& change : changes) {
            Json line = Json::object();
            line["time"] = change.time ? UtcMs(*change.time) : now;
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
            if (!change.registers.empty())
                line["registers"] = RegistersJson(change.registers);
            line["prev"] = last.empty() ? kNoLineBefore : Sha256Hex(last);
            last = JsonText(line);
            text += last + "\n";
        }
        const std::int64_t kept = size - static_cast<std::int64_t>(cut.size());
        if (!cut.empty() && !files::Truncate(fd, kept, code)) {
            error = Reason("cannot cut the unended last line of", path, code);
            ok = false;
        }
        // The whole batch in one write and one sync: a load's lines cost one trip to the disk.
        // A batch that does not get there whole is taken back, so that no half line is left.
        if (ok && (!files::AppendAll(fd, text, code) || !files::SyncToDisk(fd, code))) {
            error = Reason("cannot write", path, code);
            ok = false;
            int ignored = 0;
            if (files::Truncate(fd, kept, ignored) && !cut.empty())
                (void)files::AppendAll(fd, cut, ignored);
        }
    }
    files::Unlock(fd);
    files::CloseFile(fd);
    return ok;
}

bool VerifyAudit(const std::string& path, const std::function<void(const AuditBreak&)>& found,
                 std::string& error)
{
    std::FILE* file = files::OpenForReading(path);
    if (!file) {
        error = Reason("cannot open", path, errno);
        return false;
    }
    LineReader reader(file);
    std::string previous, line;
    std::size_t number = 0;
    while (reader.Next(line)) {
        ++number;
        const std::string expected = number == 1 ? kNoLineBefore : Sha256Hex(previous);
        const std::optional<Json> parsed = TrailLine(line);
        const std::string problem = LineProblem(line, parsed, reader.ended, expected, number == 1);
        if (!problem.empty()) {
            found({number, problem, false});
        } else if (parsed->contains("repair") && parsed->contains("cut_bytes")) {
            found({number,
                   "an append cut off " + Text(*parsed, "cut_bytes") +
                       " bytes that had no line end; this line keeps them",
                   true});
        }
        previous.swap(line);
    }
    std::fclose(file);
    if (reader.errorCode != 0) {
        error = Reason("cannot read", path, reader.errorCode);
        return false;
    }
    return true;
}

std::optional<AuditBreak> VerifyAudit(const std::string& path, std::string& error)
{
    std::optional<AuditBreak> first;
    VerifyAudit(
        path,
        [&first](const AuditBreak& found) {
            if (!first && !found.repaired)
                first = found;
        },
        error);
    return error.empty() ? first : std::nullopt;
}

bool ReadAuditLines(const std::string& path, const std::function<void(const AuditEntry&)>& entry,
                    const std::function<void(std::size_t line)>& unreadable, std::string& error)
{
    std::FILE* file = files::OpenForReading(path);
    if (!file) {
        error = Reason("cannot open", path, errno);
        return false;
    }
    LineReader reader(file);
    std::string line;
    for (std::size_t number = 1; reader.Next(line); ++number) {
        const std::optional<Json> parsed = TrailLine(line);
        if (!parsed) {
            unreadable(number);
            continue;
        }
        const Json& object = *parsed;
        const auto integer = [&object](const char* key) -> std::optional<long long> {
            const auto it = object.find(key);
            if (it == object.end() || !it->is_number_integer())
                return std::nullopt;
            return it->get<long long>();
        };
        AuditEntry read;
        read.time = Text(object, "time");
        read.user = Text(object, "user");
        read.host = Text(object, "host");
        read.program = Text(object, "program");
        read.port = Text(object, "port");
        read.model = Text(object, "model");
        read.serial = Text(object, "serial");
        read.setting = Text(object, "setting");
        read.address = integer("register");
        read.what = read.setting;
        if (read.what.empty() && object.contains("register"))
            read.what = "register " + Text(object, "register");
        read.before = Text(object, "before");
        read.after = Text(object, "after");
        read.beforeValue = integer("before");
        read.afterValue = integer("after");
        read.result = Text(object, "result");
        read.registers = RegistersText(object);
        if (object.contains("repair")) {
            read.repair = "cut " + Text(object, "cut_bytes") + " bytes that had no line end";
            read.cut = Text(object, "cut");
        }
        entry(read);
    }
    std::fclose(file);
    if (reader.errorCode != 0) {
        error = Reason("cannot read", path, reader.errorCode);
        return false;
    }
    return true;
}

std::vector<AuditEntry> ReadAudit(const std::string& path, std::string& error)
{
    std::vector<AuditEntry> entries;
    ReadAuditLines(
        path, [&entries](const AuditEntry& entry) { entries.push_back(entry); }, [](std::size_t) {},
        error);
    return entries;
}
