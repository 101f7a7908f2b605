// The "save" and "load" commands: a camera's settings to a file and back.
#pragma once

#include "tools/vireoctl/Session.h"

namespace vireoctl {

// save MODEL|auto FILE: reads every value of the model and writes the file; nothing is written
// when any value cannot be read.
int SaveSettings(const Options& options);
// load FILE [--force] [--dry-run]: checks the whole file, then writes its values and reads them
// back. Exit 2 for a file that is not right, with nothing sent.
int LoadSettings(const Options& options);

} // namespace vireoctl
