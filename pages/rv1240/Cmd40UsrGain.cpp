#include "pages/rv1240/Cmd40UsrGain.h"

#include "camera/RVX1240Reg.h"
#include "res/Resource.h"
#include "res/ids/Rv1240.h"

#include <utility>

using pages::ReadoutFormat;

CCmd40UsrGain::CCmd40UsrGain(pages::MapSlot<CRVX1240Reg> map)
    : pages::CCmdPage(IDD_CMD40_USRGAIN, pages::RefreshOn::Show), m_map(std::move(map))
{
    BindBar(IDC_40GAIN_OFFSET_BAR, -512, 511, m_nOffset,
            {{IDC_40GAIN_OFFSET_DEC, ReadoutFormat::Dec}});
    BindBar(IDC_40GAIN_GAIN_BAR, 0, 255, m_byGain, {{IDC_40GAIN_GAIN_HEX, ReadoutFormat::Hex}});
    OnClicked(IDC_40GAIN_REFRESH, [this] { Refresh(); });
    OnClicked(IDC_40GAIN_APPLY, [this] { Apply(); });
}

void CCmd40UsrGain::Refresh()
{
    CRVX1240Reg* map = m_map.Get();
    ReadBar(IDC_40GAIN_OFFSET_BAR, m_nOffset, map, &CRVX1240Reg::GetOutLevelOffset);
    ReadBar(IDC_40GAIN_GAIN_BAR, m_byGain, map, &CRVX1240Reg::GetOutLevelGain);
    UpdateData(false);
}

void CCmd40UsrGain::Apply()
{
    UpdateData(true);
    if (CRVX1240Reg* map = m_map.Get()) {
        WriteValue(m_nOffset, [&](auto v) { return map->SetOutLevelOffset(v); });
        WriteValue(m_byGain, [&](auto v) { return map->SetOutLevelGain(v); });
    }
    UpdateData(false);
}
