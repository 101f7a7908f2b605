#include "pages/rvqm52/Cmd52BPartial.h"

#include "camera/RVQM52BM14Reg.h"
#include "pages/rvqm52/PartialTiming.h"
#include "res/Resource.h"
#include "res/ids/Rvqm52.h"

#include <cstdio>
#include <utility>

using pages::ReadoutFormat;

namespace {
constexpr int kVStartMax = 1186;
constexpr int kHeightMin = 50;
constexpr int kHeightMax = 1236;
constexpr int kShutterMax = 2047;
} // namespace

CCmd52BPartial::CCmd52BPartial(pages::MapSlot<CRVQM52BM14Reg> map)
    : CCmd52BPartial(Layout{IDD_CMD52B_PARTIAL,
                            IDC_52BPART_REFRESH,
                            IDC_52BPART_APPLY,
                            IDC_52BPART_VSTART_BAR,
                            IDC_52BPART_VSTART_HEX,
                            IDC_52BPART_VSTART_DEC,
                            IDC_52BPART_HEIGHT_BAR,
                            IDC_52BPART_HEIGHT_HEX,
                            IDC_52BPART_HEIGHT_DEC,
                            IDC_52BPART_SHUTTER_BAR,
                            IDC_52BPART_SHUTTER_HEX,
                            IDC_52BPART_SHUTTER_DEC,
                            IDC_52BPART_BP,
                            IDC_52BPART_ACT,
                            IDC_52BPART_FP,
                            IDC_52BPART_FPS,
                            IDC_52BPART_MAXHEIGHT,
                            IDC_52BPART_EXPOSURE,
                            {}},
                     std::move(map))
{
}

CCmd52BPartial::CCmd52BPartial(const Layout& layout, pages::MapSlot<CRVQM52BM14Reg> map)
    : pages::CCmdPage(layout.templateId, pages::RefreshOn::Show), m_layout(layout),
      m_map(std::move(map))
{
    BindBar(layout.vStartBar, 0, kVStartMax, m_wVStart,
            {{layout.vStartHex, ReadoutFormat::Hex}, {layout.vStartDec, ReadoutFormat::Dec}},
            layout.windowSteps);
    BindBar(layout.heightBar, kHeightMin, kHeightMax, m_wHeight,
            {{layout.heightHex, ReadoutFormat::Hex}, {layout.heightDec, ReadoutFormat::Dec}},
            layout.windowSteps);
    BindBar(layout.shutterBar, 0, kShutterMax, m_wShutterSpeed,
            {{layout.shutterHex, ReadoutFormat::Hex}, {layout.shutterDec, ReadoutFormat::Dec}});
    OnClicked(layout.refresh, [this] { Refresh(); });
    OnClicked(layout.apply, [this] { Apply(); });
}

void CCmd52BPartial::Refresh()
{
    CRVQM52BM14Reg* map = m_map.Get();
    ReadBar(m_layout.vStartBar, m_wVStart, map, &CRVQM52BM14Reg::GetPartialVStart);
    ReadBar(m_layout.heightBar, m_wHeight, map, &CRVQM52BM14Reg::GetPartialHeight);
    ReadBar(m_layout.shutterBar, m_wShutterSpeed, map, &CRVQM52BM14Reg::GetShutterSpeed);
    ShowTiming();
    UpdateData(false);
}

void CCmd52BPartial::Apply()
{
    UpdateData(true);
    if (CRVQM52BM14Reg* map = m_map.Get()) {
        WriteValue(m_wVStart, [&](auto v) { return map->SetPartialVStart(v); });
        WriteValue(m_wHeight, [&](auto v) { return map->SetPartialHeight(v); });
        WriteValue(m_wShutterSpeed, [&](auto v) { return map->SetShutterSpeed(v); });
    }
}

void CCmd52BPartial::OnBarChanged(int /*barId*/)
{
    ShowTiming();
}

void CCmd52BPartial::ShowTiming()
{
    const pages::PartialTiming t =
        pages::ComputePartialTiming(m_wVStart, m_wHeight, m_wShutterSpeed);
    // The timing follows from all three values: none of it is shown until all were read.
    const bool known = Known(&m_wVStart) && Known(&m_wHeight) && Known(&m_wShutterSpeed);
    char text[64];
    const auto show = [&](int id, const char* format, auto value) {
        std::snprintf(text, sizeof text, format, value);
        SetDlgItemText(id, known ? text : pages::kNotReadText);
    };
    show(m_layout.bp, "%d", t.backPorch);
    show(m_layout.act, "%d", t.active);
    show(m_layout.fp, "%d", t.frontPorch);
    show(m_layout.fps, "%f", t.frameRate);
    show(m_layout.maxHeight, "%d", t.maxHeight);
    show(m_layout.exposure, "%d", t.exposure);
}
