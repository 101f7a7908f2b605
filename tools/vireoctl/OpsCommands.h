// The "ops" and "call" commands: the named operations of a camera model's register map.
#pragma once

#include "tools/vireoctl/Session.h"

namespace vireoctl {

// ops MODEL: one operation name per line.
int ListOperations(const Options& options);
// call MODEL OPERATION [ARG...]: runs one operation and prints its outputs, one per line.
int CallOperation(const Options& options);

} // namespace vireoctl
