#include "camera/inventory/InventorySerial.h"

#include "platform/files/AtomicFile.h"
#include "platform/files/SystemCalls.h"
#include "comm/Com.h"

#include <toml++/toml.h>

#include <cerrno>
#include <cstring>

namespace inventory {
namespace {

// The same bound as the reader's: an inventory names the cameras of a line or two.
constexpr std::size_t kInventoryMax = 1024 * 1024;

bool Parse(const std::string& text, toml::table& root, std::string& problem)
{
    try {
        root = toml::parse(text);
    } catch (const toml::parse_error& failure) {
        problem = "line " + std::to_string(failure.source().begin.line) + ": " +
                  std::string(failure.description());
        return false;
    }
    return true;
}

std::size_t LineStart(const std::string& text, std::size_t line)
{
    std::size_t offset = 0;
    for (std::size_t n = 1; n < line; ++n) {
        const std::size_t end = text.find('\n', offset);
        if (end == std::string::npos)
            return text.size();
        offset = end + 1;
    }
    return offset;
}

// Byte offset of a 1-based position (its column counted in characters).
std::size_t Offset(const std::string& text, const toml::source_position& at)
{
    std::size_t offset = LineStart(text, at.line);
    for (std::size_t c = 1; c < at.column && offset < text.size() && text[offset] != '\n'; ++c) {
        ++offset;
        while (offset < text.size() && (static_cast<unsigned char>(text[offset]) & 0xC0) == 0x80)
            ++offset;
    }
    return offset;
}

// A TOML basic string holding text.
std::string Quoted(const std::string& text)
{
    std::string quoted = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\')
            quoted += std::string("\\") + c;
        else if (byte < 0x20 || byte == 0x7F)
            quoted += FormatText("\\u%04X", byte);
        else
            quoted += c;
    }
    return quoted + "\"";
}

// The old value's text replaced; it must be a string on one line.
bool ReplaceValue(std::string& text, const toml::node& old, const std::string& value)
{
    const toml::source_region& at = old.source();
    const std::size_t begin = Offset(text, at.begin);
    const std::size_t end = Offset(text, at.end);
    if (at.begin.line != at.end.line || begin >= end || (text[begin] != '"' && text[begin] != '\''))
        return false;
    text.replace(begin, end - begin, Quoted(value));
    return true;
}

// ", serial = VALUE" after the last value of an inline table, before its closing brace.
bool AddToInlineTable(std::string& text, const toml::table& entry, const std::string& value)
{
    const std::size_t end = Offset(text, entry.source().end);
    if (end == 0 || end > text.size() || text[end - 1] != '}')
        return false;
    const std::size_t last = text.find_last_not_of(" \t", end - 2);
    if (last == std::string::npos)
        return false;
    text.insert(last + 1, ", serial = " + Quoted(value));
    return true;
}

// A serial line after the port line, keyed as the port line is: "serial" under a [cameras.NAME]
// header, "cameras.NAME.serial" where the port is a dotted key, with the same indentation.
bool AddLineAfterPort(std::string& text, const toml::key& portKey, const toml::node& port,
                      const std::string& value)
{
    const std::size_t keyLine = LineStart(text, portKey.source().begin.line);
    const std::size_t keyStart = Offset(text, portKey.source().begin);
    if (keyStart < keyLine)
        return false;
    const std::string line = text.substr(keyLine, keyStart - keyLine) + "serial = " + Quoted(value);
    const std::size_t lineStart = LineStart(text, port.source().end.line);
    const std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string::npos) {
        text += "\n" + line + "\n";
        return true;
    }
    const bool crlf = lineEnd > 0 && text[lineEnd - 1] == '\r';
    text.insert(lineEnd + 1, line + (crlf ? "\r\n" : "\n"));
    return true;
}

// Opens and locks the file that stands under path now. Another editor replaces the file while
// holding the lock on the old one, so a lock won on a file since replaced is given up.
int LockFile(const std::string& path, std::string& problem)
{
    for (;;) {
        int error = 0;
        const int fd = files::OpenAndLock(path, error);
        if (fd < 0) {
            problem = "cannot open " + path + ": " + std::strerror(error);
            return -1;
        }
        if (files::StillAtPath(fd, path))
            return fd;
        files::CloseFile(fd);
    }
}

} // namespace

bool SetSerialInText(std::string& text, const std::string& name, const std::string& serial,
                     std::string& problem)
{
    toml::table root;
    if (!Parse(text, root, problem))
        return false;
    const toml::table* entry = root["cameras"][name].as_table();
    const toml::key* portKey = nullptr;
    const toml::node* port = nullptr;
    if (entry)
        for (auto&& [key, node] : *entry)
            if (key.str() == "port") {
                portKey = &key;
                port = &node;
            }
    if (!port) {
        problem = name + " is no longer in the file";
        return false;
    }
    std::string edited = text;
    const toml::node* old = entry->get("serial");
    const bool done = old                  ? ReplaceValue(edited, *old, serial)
                      : entry->is_inline() ? AddToInlineTable(edited, *entry, serial)
                                           : AddLineAfterPort(edited, *portKey, *port, serial);
    // The file must read as it did but for this one value; anything else is left to a person.
    toml::table expected = root;
    expected["cameras"][name].as_table()->insert_or_assign("serial", serial);
    toml::table after;
    std::string unused;
    if (!done || !Parse(edited, after, unused) || after != expected) {
        problem = name + ": its entry is written in a form that cannot take a serial number "
                         "here; set it by hand";
        return false;
    }
    text = std::move(edited);
    return true;
}

bool UpdateInventorySerial(const std::string& path, const std::string& name,
                           const std::string& serial, std::string& problem)
{
    // Cameras may be replaced together, by one run or by several: each edit starts from the
    // file the last one left.
    const int fd = LockFile(path, problem);
    if (fd < 0)
        return false;
    std::string text;
    bool ok = ReadSmallFile(path, kInventoryMax, text, problem);
    const std::string before = text;
    if (ok && !SetSerialInText(text, name, serial, problem)) {
        problem = path + ": " + problem;
        ok = false;
    }
    if (ok && text != before)
        ok = WriteFileAtomically(path, text, problem);
    files::CloseFile(fd);
    return ok;
}

} // namespace inventory
