// RVQM52 "Shutter": the 11-bit shutter speed from its list, scan, bit depth and trigger settings
// with Restart Reset. Serves both RVQM52 models.
#pragma once

#include "camera/RVQM52BM14Reg.h"
#include "pages/common/ShutterPage.h"

class CCmd52BShatter : public pages::CShutterPageOf<CRVQM52BM14Reg> {
public:
    explicit CCmd52BShatter(pages::MapSlot<CRVQM52BM14Reg> map);
};
