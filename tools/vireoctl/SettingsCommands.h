// The "save", "load" and "diff" commands: a camera's settings to a file, back, and compared,
// on one camera or on several in parallel.
#pragma once

#include "tools/vireoctl/Session.h"

namespace vireoctl {

// save MODEL|auto FILE|DIR/: reads every value of the model and writes the file; nothing is
// written when any value cannot be read. Into a folder, one file per camera, named
// MODEL-SERIAL.json.
int SaveSettings(const Options& options);
// load FILE [--force] [--dry-run]: checks the whole file, then writes its values and reads them
// back. Exit 2 for a file that is not right, with nothing sent.
int LoadSettings(const Options& options);
// diff FILE: "NAME<TAB>FILE_VALUE<TAB>CAMERA_VALUE" for every value the camera holds otherwise;
// exit 0 when all are equal, 3 when any differs. Writes nothing.
int DiffSettings(const Options& options);

} // namespace vireoctl
