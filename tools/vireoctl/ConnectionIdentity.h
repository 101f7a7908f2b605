// Who the camera on a connection is: its model name and serial number, read once per connection
// and shared by the check before writes and the record of each change.
#pragma once

#include "camera/settings/CameraIdentity.h"

class CComIF;

namespace vireoctl {

// identity.model and identity.serial (and kind); the rest stays empty. A failure is not kept:
// the next call asks again.
CResult ConnectionIdentity(CComIF& com, CameraIdentity& identity);
// The camera may name itself otherwise now (its identity was written): the next call asks.
void ForgetConnectionIdentity(CComIF& com);

} // namespace vireoctl
