// How deeply a TOML text nests its tables and arrays, found by a scan of its characters before
// the parser sees it: the parser recurses once per level, and a small file of many thousands of
// levels would exhaust the stack.
#pragma once

#include <cstddef>
#include <string>

namespace inventory {

// The line (from 1) on which text first goes deeper than maxDepth levels, counting every part of
// a dotted key or table header and every inline table or array; 0 when it never does.
std::size_t LineNestedTooDeeply(const std::string& text, std::size_t maxDepth);

} // namespace inventory
