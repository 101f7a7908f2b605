// Texts for the result codes of the Camera Link serial interface, for libraries that answer
// clGetErrorText and for the program when a library cannot answer it.
#pragma once

#include "platform/camlink/ClAllSerial.h"

namespace camlink {

// True for the codes the interface defines (-10001 to -10009, -10098, -10099).
bool IsStandardError(CLINT32 code);

// A short text for a code the interface defines; null for any other code.
const char* StandardErrorText(CLINT32 code);

} // namespace camlink
