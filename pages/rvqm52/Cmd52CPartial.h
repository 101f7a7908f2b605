// RVQM52CM14 "Partial": the monochrome page on its own ids, whose window start and height move
// in steps of two lines and take only even values.
#pragma once

#include "pages/rvqm52/Cmd52BPartial.h"

class CCmd52CPartial : public CCmd52BPartial {
public:
    explicit CCmd52CPartial(pages::MapSlot<CRVQM52BM14Reg> map);
};
