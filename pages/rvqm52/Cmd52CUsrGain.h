// RVQM52CM14 "UserGain": a narrower offset shown raw, and the output gain in dB. Applies as the
// monochrome page does.
#pragma once

#include "pages/rvqm52/Cmd52BUsrGain.h"

class CCmd52CUsrGain : public CCmd52BUsrGain {
public:
    explicit CCmd52CUsrGain(pages::MapSlot<CRVQM52BM14Reg> map);
};
