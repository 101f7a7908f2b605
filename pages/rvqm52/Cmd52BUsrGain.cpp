#include "pages/rvqm52/Cmd52BUsrGain.h"

#include "camera/RVQM52BM14Reg.h"
#include "res/Resource.h"
#include "res/ids/Rvqm52.h"

#include <utility>

using pages::ReadoutFormat;

namespace {
// One offset step is 2.08 LSB of the output; one gain step 0.09375 dB.
constexpr double kLsbPerOffset = 2.08;
constexpr double kDbPerGain = 0.09375;
} // namespace

CCmd52BUsrGain::CCmd52BUsrGain(pages::MapSlot<CRVQM52BM14Reg> map)
    : CCmd52BUsrGain(Layout{IDD_CMD52B_USRGAIN,
                            IDC_52BGAIN_REFRESH,
                            IDC_52BGAIN_APPLY,
                            IDC_52BGAIN_OFFSET_BAR,
                            50,
                            255,
                            {IDC_52BGAIN_OFFSET_HEX, ReadoutFormat::Hex},
                            {IDC_52BGAIN_OFFSET_LSB, ReadoutFormat::ScaledDec, kLsbPerOffset},
                            IDC_52BGAIN_GAIN_BAR,
                            150,
                            {IDC_52BGAIN_GAIN_HEX, ReadoutFormat::Hex},
                            {IDC_52BGAIN_GAIN_DB, ReadoutFormat::Real, kDbPerGain}},
                     std::move(map))
{
}

CCmd52BUsrGain::CCmd52BUsrGain(const Layout& layout, pages::MapSlot<CRVQM52BM14Reg> map)
    : pages::CCmdPage(layout.templateId, pages::RefreshOn::Show), m_offsetBar(layout.offsetBar),
      m_gainBar(layout.gainBar), m_map(std::move(map))
{
    BindBar(layout.offsetBar, layout.offsetMin, layout.offsetMax, m_byOffset,
            {layout.offsetHex, layout.offsetUnit});
    BindBar(layout.gainBar, 0, layout.gainMax, m_byGain, {layout.gainHex, layout.gainDb});
    OnClicked(layout.refresh, [this] { Refresh(); });
    OnClicked(layout.apply, [this] { Apply(); });
}

void CCmd52BUsrGain::Refresh()
{
    CRVQM52BM14Reg* map = m_map.Get();
    ReadBar(m_offsetBar, m_byOffset, map, &CRVQM52BM14Reg::GetOutLevelOffset);
    ReadBar(m_gainBar, m_byGain, map, &CRVQM52BM14Reg::GetOutLevelGain);
    UpdateData(false);
}

void CCmd52BUsrGain::Apply()
{
    UpdateData(true);
    if (CRVQM52BM14Reg* map = m_map.Get()) {
        WriteValue(m_byOffset, [&](auto v) { return map->SetOutLevelOffset(v); });
        WriteValue(m_byGain, [&](auto v) { return map->SetOutLevelGain(v); });
    }
}
