#include "platform/profile/IniFile.h"

#include "platform/profile/IniText.h"

#include <strings.h>

namespace profile::ini {
namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

struct Line {
    std::size_t start = 0;
    std::size_t length = 0;
    std::size_t equals = std::string_view::npos;
};

// The next logical line from pos: quotes and a backslash before a line break carry it on; a ';'
// outside quotes ends it, and a line that starts with ';' is a comment and is skipped.
bool ReadLine(std::string_view data, std::size_t& pos, Line& line)
{
    bool inQuotes = false;
    line.equals = std::string_view::npos;
    line.start = pos;
    while (line.start < data.size() && IsSpace(data[line.start]))
        ++line.start;
    std::size_t i = line.start;
    while (i < data.size()) {
        const char ch = data[i++];
        if (ch == '=') {
            if (!inQuotes && line.equals == std::string_view::npos)
                line.equals = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == line.start + 1) {
                ++line.start;
            } else if (!inQuotes) {
                --i;
                break;
            }
        } else if (ch == '\\') {
            if (i < data.size()) {
                const char next = data[i++];
                if (i < data.size() &&
                    ((next == '\n' && data[i] == '\r') || (next == '\r' && data[i] == '\n')))
                    ++i;
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else if (ch == ';') {
            if (i == line.start + 1) {
                while (i < data.size() && data[i] != '\n' && data[i] != '\r')
                    ++i;
                while (i < data.size() && IsSpace(data[i]))
                    ++i;
                line.start = i;
            } else if (!inQuotes) {
                --i;
                break;
            }
        }
    }
    pos = i;
    line.length = i - line.start;
    return line.length > 0;
}

} // namespace

bool ParseFile(std::string_view data, Entries& entries)
{
    if (data.substr(0, 3) == "\xEF\xBB\xBF")
        data.remove_prefix(3);
    bool ok = true;
    std::string section; // with its trailing '/', empty for the root group
    std::size_t pos = 0;
    Line line;
    while (ReadLine(data, pos, line)) {
        const std::string_view text = data.substr(line.start, line.length);
        if (text.front() == '[') {
            const std::size_t close = text.find(']');
            if (close == std::string_view::npos)
                ok = false;
            const std::string_view name = Trim(text.substr(
                1, close == std::string_view::npos ? std::string_view::npos : close - 1));
            const std::string spelled(name);
            if (strcasecmp(spelled.c_str(), "general") == 0)
                section.clear();
            else if (strcasecmp(spelled.c_str(), "%general") == 0)
                section = spelled.substr(1) + "/";
            else
                section = UnescapeKey(name) + "/";
            continue;
        }
        if (line.equals == std::string_view::npos) {
            if (text.front() != ';')
                ok = false;
            continue;
        }
        const std::string_view key = Trim(data.substr(line.start, line.equals - line.start));
        const std::string_view value =
            data.substr(line.equals + 1, line.start + line.length - line.equals - 1);
        entries[section + UnescapeKey(key)] = CanonicalValue(value);
    }
    return ok;
}

std::string FormatFile(const Entries& entries)
{
    // Group, then key within it; the root group comes first as its name is empty.
    std::map<std::string, std::map<std::string, const std::string*>> groups;
    for (const auto& [key, value] : entries) {
        const std::size_t slash = key.find('/');
        if (slash == std::string::npos)
            groups[""][key] = &value;
        else
            groups[key.substr(0, slash)][key.substr(slash + 1)] = &value;
    }
    std::string out;
    bool first = true;
    for (const auto& [name, keys] : groups) {
        if (!first)
            out += '\n';
        first = false;
        const std::string spelled = EscapeKey(name);
        if (name.empty())
            out += "[General]";
        else if (strcasecmp(spelled.c_str(), "general") == 0)
            out += "[%General]";
        else
            out += "[" + spelled + "]";
        out += '\n';
        for (const auto& [key, value] : keys)
            out += EscapeKey(key) + "=" + *value + "\n";
    }
    return out;
}

} // namespace profile::ini
