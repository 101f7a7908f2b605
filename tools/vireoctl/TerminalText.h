// Texts that come from a camera or a file, made safe to print: a serial number holding ESC[2K
// must not rewrite the user's terminal.
#pragma once

#include <string>
#include <string_view>

namespace vireoctl {

// text with its control characters escaped: C0 and DEL as "\x1B", the C1 range (U+0080 to
// U+009F) as "\u009B", bytes that are no UTF-8 as "\xFF", and a backslash as "\\", so that an
// escape in the output always means one. Printable UTF-8 passes unchanged.
std::string TerminalText(std::string_view text);

} // namespace vireoctl
