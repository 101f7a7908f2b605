// How keys and values are spelled in the settings file: the escapes, quotes and value forms of
// the INI files Qt's QSettings reads and writes, so that either program reads what the other
// stored. Texts are UTF-8 here; the file is UTF-8 too.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace profile::ini {

// A key as a file line or a section header spells it: '/' becomes '\', letters, digits, '_', '-'
// and '.' stay, other Latin-1 characters become %XX and the rest %UXXXX.
std::string EscapeKey(std::string_view key);
std::string UnescapeKey(std::string_view spelled);

// One text as a value: C escapes for control characters, quotes around a text holding ';', ','
// or '=' or beginning or ending with a blank, a doubled '@' before a leading '@', and a text
// holding a zero character wrapped in @String(...).
std::string EscapeText(std::string_view text);

// What a value's spelling (the part after '=') holds.
struct Value {
    enum class Form {
        Text,    // a text, also what a number is stored as
        List,    // a list of two or more texts ("a, b")
        Bytes,   // @ByteArray(...): read as text too
        Other,   // @Rect(...), @Variant(...) and the like: no text, kept as it is
        Invalid, // @Invalid(): stands for no value
    };
    Form form = Form::Text;
    std::string text;               // Text and Bytes
    std::vector<std::string> items; // List, each item as spelled before its '@' forms
};
Value ParseValue(std::string_view spelled);

// The spelling a value is written back with: as QSettings would write what it read.
std::string CanonicalValue(std::string_view spelled);

// The value read as a text, as QSettings' value().toString() gives it; nothing for @Invalid().
std::optional<std::string> TextOfValue(std::string_view spelled);

} // namespace profile::ini
