#include "platform/profile/IniText.h"

#include <cstdint>

namespace profile::ini {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

// UTF-8 to UTF-16 code units; each byte of a malformed sequence becomes U+FFFD, as Qt decodes.
std::u16string ToUtf16(std::string_view text)
{
    std::u16string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        int extra = 0;
        char32_t cp = 0;
        if (lead < 0x80) {
            out += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        if (lead >= 0xC2 && lead <= 0xDF) {
            extra = 1;
            cp = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            extra = 2;
            cp = lead & 0x0F;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            extra = 3;
            cp = lead & 0x07;
        } else {
            out += kReplacement;
            ++i;
            continue;
        }
        bool ok = true;
        for (int k = 1; ok && k <= extra; ++k) {
            if (i + k >= text.size()) {
                ok = false;
                break;
            }
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80)
                ok = false;
            else
                cp = (cp << 6) | (next & 0x3F);
        }
        // Overlong forms, surrogates and values past U+10FFFF are malformed.
        if (ok && ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
                   (cp >= 0xD800 && cp <= 0xDFFF)))
            ok = false;
        if (!ok) {
            out += kReplacement;
            ++i;
            continue;
        }
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out += static_cast<char16_t>(0xD800 + (cp >> 10));
            out += static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
        } else {
            out += static_cast<char16_t>(cp);
        }
        i += static_cast<std::size_t>(extra) + 1;
    }
    return out;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// UTF-16 code units to UTF-8; a lone surrogate becomes U+FFFD.
std::string ToUtf8(std::u16string_view units)
{
    std::string out;
    out.reserve(units.size());
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t u = units[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            AppendUtf8(out, 0x10000 + ((char32_t(u) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
            ++i;
        } else if (u >= 0xD800 && u <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

int HexDigit(char32_t c)
{
    if (c >= '0' && c <= '9')
        return static_cast<int>(c - '0');
    if (c >= 'a' && c <= 'f')
        return static_cast<int>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F')
        return static_cast<int>(c - 'A' + 10);
    return -1;
}

const char kHexUpper[] = "0123456789ABCDEF";
const char kHexLower[] = "0123456789abcdef";

std::string LowerHex(unsigned value)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), kHexLower[value % 16]);
        value /= 16;
    } while (value != 0);
    return digits;
}

// One item of a value, without the '@' rule.
void AppendEscaped(std::string& out, std::string_view text)
{
    const std::size_t start = out.size();
    bool needsQuotes = false;
    bool escapeNextIfDigit = false;
    const std::u16string units = ToUtf16(text);
    for (std::size_t i = 0; i < units.size(); ++i) {
        const char16_t ch = units[i];
        if (ch == ';' || ch == ',' || ch == '=')
            needsQuotes = true;
        // "\x1" followed by "2" would read back as one escape "\x12".
        if (escapeNextIfDigit && HexDigit(ch) >= 0) {
            out += "\\x" + LowerHex(ch);
            continue;
        }
        escapeNextIfDigit = false;
        switch (ch) {
        case '\0':
            out += "\\0";
            escapeNextIfDigit = true;
            break;
        case '\a':
            out += "\\a";
            break;
        case '\b':
            out += "\\b";
            break;
        case '\f':
            out += "\\f";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '\v':
            out += "\\v";
            break;
        case '"':
        case '\\':
            out += '\\';
            out += static_cast<char>(ch);
            break;
        default:
            if (ch <= 0x1F) {
                out += "\\x" + LowerHex(ch);
                escapeNextIfDigit = true;
            } else {
                out += ToUtf8(units.substr(i, ch >= 0xD800 && ch <= 0xDBFF ? 2 : 1));
                if (ch >= 0xD800 && ch <= 0xDBFF && i + 1 < units.size())
                    ++i;
            }
        }
    }
    if (needsQuotes || (start < out.size() && (out[start] == ' ' || out[out.size() - 1] == ' '))) {
        out.insert(out.begin() + static_cast<std::ptrdiff_t>(start), '"');
        out += '"';
    }
}

// Drops blanks and tabs at the end, not before limit (what an escape produced stays).
void ChopTrailingBlanks(std::u16string& text, std::size_t limit)
{
    while (text.size() > limit && (text.back() == ' ' || text.back() == '\t'))
        text.pop_back();
}

// Splits a value's spelling into its text, or its items when it holds an unquoted ','.
bool UnescapeValue(std::string_view in, std::u16string& text, std::vector<std::u16string>& items)
{
    static const char kEscapes[][2] = {{'a', '\a'}, {'b', '\b'},  {'f', '\f'}, {'n', '\n'},
                                       {'r', '\r'}, {'t', '\t'},  {'v', '\v'}, {'"', '"'},
                                       {'?', '?'},  {'\'', '\''}, {'\\', '\\'}};
    bool isList = false;
    bool inQuotes = false;
    bool quoted = false;
    bool endsInEscape = false;
    std::size_t i = 0;
    const auto skipBlanks = [&] {
        while (i < in.size() && (in[i] == ' ' || in[i] == '\t'))
            ++i;
    };
    skipBlanks();
    std::size_t chopLimit = text.size();
    while (i < in.size()) {
        const char c = in[i];
        if (c == '\\') {
            ++i;
            if (i >= in.size()) {
                endsInEscape = true;
                break;
            }
            const char e = in[i++];
            bool named = false;
            for (const auto& code : kEscapes)
                if (e == code[0]) {
                    text += static_cast<char16_t>(code[1]);
                    named = true;
                    break;
                }
            // What an escape gave is never chopped as a trailing blank.
            if (named) {
                chopLimit = text.size();
                continue;
            }
            if (e == 'x' || (e >= '0' && e <= '7')) {
                const bool hex = e == 'x';
                if (hex && (i >= in.size() || HexDigit(in[i]) < 0)) {
                    chopLimit = text.size();
                    continue; // "\x" without digits stands for nothing
                }
                // The value is kept to 16 bits however many digits follow, as Qt keeps it.
                char16_t value = hex ? 0 : static_cast<char16_t>(e - '0');
                while (i < in.size()) {
                    const int d =
                        hex ? HexDigit(in[i]) : (in[i] >= '0' && in[i] <= '7' ? in[i] - '0' : -1);
                    if (d < 0)
                        break;
                    value = static_cast<char16_t>((value << (hex ? 4 : 3)) + d);
                    ++i;
                }
                text += value;
                chopLimit = text.size();
                continue;
            }
            if ((e == '\n' || e == '\r') && i < in.size() && (in[i] == '\n' || in[i] == '\r') &&
                in[i] != e)
                ++i;
            // Any other escaped character is dropped; a line break continues the line.
            chopLimit = text.size();
            continue;
        }
        if (c == '"') {
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) {
                skipBlanks();
                chopLimit = text.size();
            }
            continue;
        }
        if (c == ',' && !inQuotes) {
            if (!quoted)
                ChopTrailingBlanks(text, chopLimit);
            isList = true;
            items.push_back(std::move(text));
            text.clear();
            quoted = false;
            ++i;
            skipBlanks();
            chopLimit = 0;
            continue;
        }
        std::size_t j = i + 1;
        while (j < in.size() && in[j] != '\\' && in[j] != '"' && in[j] != ',')
            ++j;
        text += ToUtf16(in.substr(i, j - i));
        i = j;
    }
    if (!quoted && !endsInEscape)
        ChopTrailingBlanks(text, chopLimit);
    if (isList)
        items.push_back(std::move(text));
    return isList;
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

} // namespace

std::string EscapeKey(std::string_view key)
{
    std::string out;
    for (const char16_t ch : ToUtf16(key)) {
        if (ch == '/') {
            out += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                   (ch >= '0' && ch <= '9') || ch == '_' || ch == '-' || ch == '.') {
            out += static_cast<char>(ch);
        } else if (ch <= 0xFF) {
            out += '%';
            out += kHexUpper[ch / 16];
            out += kHexUpper[ch % 16];
        } else {
            out += "%U";
            for (int shift = 12; shift >= 0; shift -= 4)
                out += kHexUpper[(ch >> shift) & 0xF];
        }
    }
    return out;
}

std::string UnescapeKey(std::string_view spelled)
{
    const std::u16string in = ToUtf16(spelled);
    std::u16string out;
    std::size_t i = 0;
    while (i < in.size()) {
        const char16_t ch = in[i];
        if (ch == '\\') {
            out += u'/';
            ++i;
            continue;
        }
        if (ch != '%' || i + 1 == in.size()) {
            out += ch;
            ++i;
            continue;
        }
        const bool wide = in[i + 1] == 'U';
        const std::size_t first = i + 1 + (wide ? 1 : 0);
        const std::size_t digits = wide ? 4 : 2;
        unsigned value = 0;
        bool ok = first + digits <= in.size();
        for (std::size_t k = 0; ok && k < digits; ++k) {
            const int d = HexDigit(in[first + k]);
            ok = d >= 0;
            value = value * 16 + static_cast<unsigned>(d);
        }
        if (!ok) {
            out += u'%';
            ++i;
            continue;
        }
        out += static_cast<char16_t>(value);
        i = first + digits;
    }
    return ToUtf8(out);
}

std::string EscapeText(std::string_view text)
{
    std::string out;
    // A text with a zero character is wrapped, one that begins with '@' gets another.
    if (text.find('\0') != std::string_view::npos)
        AppendEscaped(out, "@String(" + std::string(text) + ")");
    else if (StartsWith(text, "@"))
        AppendEscaped(out, "@" + std::string(text));
    else
        AppendEscaped(out, text);
    return out;
}

Value ParseValue(std::string_view spelled)
{
    std::u16string text;
    std::vector<std::u16string> items;
    Value value;
    if (UnescapeValue(spelled, text, items)) {
        value.form = Value::Form::List;
        for (const auto& item : items)
            value.items.push_back(ToUtf8(item));
        return value;
    }
    value.text = ToUtf8(text);
    const std::string& s = value.text;
    if (!StartsWith(s, "@"))
        return value;
    if (s.back() == ')') {
        if (StartsWith(s, "@ByteArray(")) {
            // The bytes are the Latin-1 of what the escapes gave; read as text they are UTF-8.
            std::string bytes;
            for (const char16_t u : text.substr(11, text.size() - 12))
                bytes += static_cast<char>(u <= 0xFF ? u : '?');
            value.form = Value::Form::Bytes;
            value.text = ToUtf8(ToUtf16(bytes));
            return value;
        }
        if (StartsWith(s, "@String(")) {
            value.text = s.substr(8, s.size() - 9);
            return value;
        }
        if (s == "@Invalid()") {
            value.form = Value::Form::Invalid;
            value.text.clear();
            return value;
        }
        for (const char* form : {"@Variant(", "@DateTime(", "@Rect(", "@Size(", "@Point("})
            if (StartsWith(s, form)) {
                value.form = Value::Form::Other;
                value.text.clear();
                return value;
            }
    }
    if (StartsWith(s, "@@"))
        value.text.erase(0, 1);
    return value;
}

std::string CanonicalValue(std::string_view spelled)
{
    const Value value = ParseValue(spelled);
    switch (value.form) {
    case Value::Form::Text:
        return EscapeText(value.text);
    case Value::Form::List: {
        std::string out;
        for (std::size_t i = 0; i < value.items.size(); ++i) {
            if (i != 0)
                out += ", ";
            AppendEscaped(out, value.items[i]);
        }
        return out;
    }
    default: {
        // Kept as spelled, without the blanks around it.
        std::size_t begin = 0;
        std::size_t end = spelled.size();
        while (begin < end && (spelled[begin] == ' ' || spelled[begin] == '\t'))
            ++begin;
        while (end > begin && (spelled[end - 1] == ' ' || spelled[end - 1] == '\t'))
            --end;
        return std::string(spelled.substr(begin, end - begin));
    }
    }
}

std::optional<std::string> TextOfValue(std::string_view spelled)
{
    Value value = ParseValue(spelled);
    switch (value.form) {
    case Value::Form::Text:
    case Value::Form::Bytes:
        return std::move(value.text);
    case Value::Form::Invalid:
        return std::nullopt;
    default:
        return std::string();
    }
}

} // namespace profile::ini
