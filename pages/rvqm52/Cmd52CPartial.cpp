#include "pages/rvqm52/Cmd52CPartial.h"

#include "res/Resource.h"
#include "res/ids/Rvqm52.h"

#include <utility>

CCmd52CPartial::CCmd52CPartial(pages::MapSlot<CRVQM52BM14Reg> map)
    : CCmd52BPartial(Layout{IDD_CMD52C_PARTIAL,
                            IDC_52CPART_REFRESH,
                            IDC_52CPART_APPLY,
                            IDC_52CPART_VSTART_BAR,
                            IDC_52CPART_VSTART_HEX,
                            IDC_52CPART_VSTART_DEC,
                            IDC_52CPART_HEIGHT_BAR,
                            IDC_52CPART_HEIGHT_HEX,
                            IDC_52CPART_HEIGHT_DEC,
                            IDC_52CPART_SHUTTER_BAR,
                            IDC_52CPART_SHUTTER_HEX,
                            IDC_52CPART_SHUTTER_DEC,
                            IDC_52CPART_BP,
                            IDC_52CPART_ACT,
                            IDC_52CPART_FP,
                            IDC_52CPART_FPS,
                            IDC_52CPART_MAXHEIGHT,
                            IDC_52CPART_EXPOSURE,
                            {2, 10, true}},
                     std::move(map))
{
}
