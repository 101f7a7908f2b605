#include "pages/rvqm52/Cmd52CUsrGain.h"

#include "res/Resource.h"
#include "res/ids/Rvqm52.h"

#include <utility>

using pages::ReadoutFormat;

CCmd52CUsrGain::CCmd52CUsrGain(pages::MapSlot<CRVQM52BM14Reg> map)
    : CCmd52BUsrGain(Layout{IDD_CMD52C_USRGAIN,
                            IDC_52CGAIN_REFRESH,
                            IDC_52CGAIN_APPLY,
                            IDC_52CGAIN_OFFSET_BAR,
                            0,
                            31,
                            {IDC_52CGAIN_OFFSET_HEX, ReadoutFormat::Hex},
                            {IDC_52CGAIN_OFFSET_LSB, ReadoutFormat::Dec},
                            IDC_52CGAIN_GAIN_BAR,
                            75,
                            {IDC_52CGAIN_GAIN_HEX, ReadoutFormat::Hex},
                            {IDC_52CGAIN_GAIN_DB, ReadoutFormat::Real, 0.09375}},
                     std::move(map))
{
}
