// The texts a register page shows for the result of its last read or write.
#pragma once

#include <string>

namespace pages {

// Empty for a code the table does not list.
std::string RegisterStatusText(int code);

} // namespace pages
