// RV1250LX "Shutter": the 11-bit shutter speed from the list, scan, bit depth and trigger
// settings. Bit 1 of 0x66 has no box here; it is written back as it was read.
#pragma once

#include "camera/RVX1250Reg.h"
#include "pages/common/ShutterPage.h"

class CCmd50Shatter : public pages::CShutterPageOf<CRVX1250Reg> {
public:
    explicit CCmd50Shatter(pages::MapSlot<CRVX1250Reg> map);
};
