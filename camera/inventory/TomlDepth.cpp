#include "camera/inventory/TomlDepth.h"

#include <vector>

namespace inventory {
namespace {

// Where a string that starts at i ends (the index after its closing quote), counting the line
// ends it spans. An unclosed string ends the scan; the parser reports it.
std::size_t SkipString(const std::string& text, std::size_t i, std::size_t& line)
{
    const char quote = text[i];
    const bool multiLine = text.compare(i, 3, std::string(3, quote)) == 0;
    i += multiLine ? 3 : 1;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '\\' && quote == '"') {
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++line;
            i += 2;
            continue;
        }
        if (c == '\n') {
            if (!multiLine)
                return i; // the line end is the caller's to count
            ++line;
        }
        if (c == quote && (!multiLine || text.compare(i, 3, std::string(3, quote)) == 0))
            return i + (multiLine ? 3 : 1);
        ++i;
    }
    return i;
}

} // namespace

std::size_t LineNestedTooDeeply(const std::string& text, std::size_t maxDepth)
{
    struct Scope {
        std::size_t depth; // levels above the keys written in this scope
        bool array;        // elements are values, not keys
    };
    std::vector<Scope> scopes;  // open inline tables and arrays, innermost last
    std::size_t tableDepth = 0; // the levels of the last table header
    std::size_t keyParts = 0;   // dots of the key being read
    bool inValue = false;       // after '=' (dots there are a number's, not a key's)
    bool inHeader = false;
    std::size_t line = 1;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const std::size_t base = scopes.empty() ? tableDepth : scopes.back().depth;
        switch (c) {
        case '"':
        case '\'':
            i = SkipString(text, i, line);
            continue;
        case '#':
            while (i < text.size() && text[i] != '\n')
                ++i;
            continue;
        case '\n':
            ++line;
            if (scopes.empty()) {
                keyParts = 0;
                inValue = false;
            }
            break;
        case '.':
            if (!inValue)
                ++keyParts;
            break;
        case '=':
            inValue = true;
            break;
        case ',':
            keyParts = 0;
            inValue = !scopes.empty() && scopes.back().array;
            break;
        case '[':
            if (scopes.empty() && !inValue) {
                // A table header, or the second bracket of an array of tables' header.
                if (inHeader)
                    ++tableDepth;
                else
                    tableDepth = 1;
                inHeader = true;
                keyParts = 0;
                break;
            }
            [[fallthrough]];
        case '{':
            scopes.push_back({base + keyParts + 1, c == '['});
            keyParts = 0;
            inValue = c == '[';
            break;
        case ']':
            if (scopes.empty()) {
                if (inHeader)
                    tableDepth += keyParts;
                inHeader = false;
                keyParts = 0;
                break;
            }
            [[fallthrough]];
        case '}':
            if (!scopes.empty())
                scopes.pop_back();
            inValue = true;
            break;
        default:
            break;
        }
        if ((scopes.empty() ? tableDepth : scopes.back().depth) + keyParts + 1 > maxDepth)
            return line;
        ++i;
    }
    return 0;
}

} // namespace inventory
