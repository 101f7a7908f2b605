#include "tools/vireoctl/TerminalText.h"

#include <cstdio>

namespace vireoctl {

namespace {

std::string Hex(const char* form, unsigned value)
{
    char text[12];
    std::snprintf(text, sizeof text, form, value);
    return text;
}

// The length of the UTF-8 sequence at text[i], or 0 when none starts there.
std::size_t SequenceLength(std::string_view text, std::size_t i)
{
    const auto byte = [&text](std::size_t at) { return static_cast<unsigned char>(text[at]); };
    const unsigned char lead = byte(i);
    std::size_t length = 0;
    unsigned value = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are no UTF-8.
    const unsigned least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < least[length] || (value >= 0xD800 && value <= 0xDFFF) || value > 0x10FFFF)
        return 0;
    return length;
}

} // namespace

std::string TerminalText(std::string_view text)
{
    std::string safe;
    safe.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\\') {
            safe += "\\\\";
            ++i;
        } else if (c < 0x20 || c == 0x7F) {
            safe += Hex("\\x%02X", c);
            ++i;
        } else if (c < 0x80) {
            safe += static_cast<char>(c);
            ++i;
        } else if (const std::size_t length = SequenceLength(text, i); length == 0) {
            safe += Hex("\\x%02X", c);
            ++i;
        } else if (length == 2 && c == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            safe += Hex("\\u%04X", static_cast<unsigned char>(text[i + 1]));
            i += 2;
        } else {
            safe.append(text.substr(i, length));
            i += length;
        }
    }
    return safe;
}

} // namespace vireoctl
