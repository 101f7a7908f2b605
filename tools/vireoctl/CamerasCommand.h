// The "cameras" command: the inventory's cameras, each asked in parallel who it is.
#pragma once

#include "tools/vireoctl/Session.h"

namespace vireoctl {

// One line per camera of the inventory, in its order: NAME, PORT, STATE, MODEL, SERIAL,
// tab-separated. STATE is "ok" (the camera answered as the inventory expects), "replaced" (it
// answered with another model or serial number), "no-answer" (the port opened, the camera did
// not answer) or "no-port" (the port did not open); MODEL and SERIAL are "-" for the last two,
// whose reason follows on standard error as "NAME: REASON". Exit 0 when every camera is "ok".
int ListCameras(const Options& options);

} // namespace vireoctl
