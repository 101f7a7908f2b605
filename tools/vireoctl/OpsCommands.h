// The "ops" command: the named operations of a camera model's register map.
#pragma once

#include "tools/vireoctl/Session.h"

namespace vireoctl {

// ops MODEL: one operation name per line.
int ListOperations(const Options& options);

} // namespace vireoctl
