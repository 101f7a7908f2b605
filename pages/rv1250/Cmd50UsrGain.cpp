#include "pages/rv1250/Cmd50UsrGain.h"

#include "camera/RVX1250Reg.h"
#include "res/Resource.h"
#include "res/ids/Rv1250.h"

#include <utility>

using pages::ReadoutFormat;

CCmd50UsrGain::CCmd50UsrGain(pages::MapSlot<CRVX1250Reg> map)
    : pages::CCmdPage(IDD_CMD50_USRGAIN, pages::RefreshOn::Show), m_map(std::move(map))
{
    BindBar(IDC_50GAIN_CLAMP_BAR, 0, 31, m_byClampLevel,
            {{IDC_50GAIN_CLAMP_HEX, ReadoutFormat::Hex}});
    BindBar(IDC_50GAIN_GAIN_BAR, 0, 511, m_wGain, {{IDC_50GAIN_GAIN_HEX, ReadoutFormat::Hex}});
    OnClicked(IDC_50GAIN_REFRESH, [this] { Refresh(); });
    OnClicked(IDC_50GAIN_APPLY, [this] { Apply(); });
}

void CCmd50UsrGain::Refresh()
{
    CRVX1250Reg* map = m_map.Get();
    ReadBar(IDC_50GAIN_CLAMP_BAR, m_byClampLevel, map, &CRVX1250Reg::GetOutLevelOffset);
    ReadBar(IDC_50GAIN_GAIN_BAR, m_wGain, map, &CRVX1250Reg::GetOutLevelGain);
    UpdateData(false);
}

void CCmd50UsrGain::Apply()
{
    UpdateData(true);
    if (CRVX1250Reg* map = m_map.Get()) {
        WriteValue(m_byClampLevel, [&](auto v) { return map->SetOutLevelOffset(v); });
        WriteValue(m_wGain, [&](auto v) { return map->SetOutLevelGain(v); });
    }
}
