// --help and --version: answered before any setting is read or any port is touched.
#pragma once

#include <optional>

namespace vireoctl {

// When the first of --help and --version is found among the arguments, prints its answer on
// standard output and returns exit status 0; otherwise returns nothing.
std::optional<int> AnswerInfoOption(int argc, char** argv);

} // namespace vireoctl
