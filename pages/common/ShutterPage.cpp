#include "pages/common/ShutterPage.h"

#include "camera/RVXReg.h"

#include <string>
#include <utility>

namespace pages {

CShutterPage::CShutterPage(int templateId, const ShutterPageIds& ids, MapSlot<CRVXReg> map)
    : CCmdPage(templateId, RefreshOn::Show), m_ids(ids), m_map(std::move(map))
{
    OnClicked(ids.refresh, [this] { Refresh(); });
    OnClicked(ids.apply, [this] { Apply(); });
    for (int id = ids.firstBitDepth; id < ids.firstBitDepth + 3; ++id)
        OnClicked(id, [this] { OnBitDepthClicked(); });
    OnSelChange(ids.speedList, [this] { OnSpeedChange(); });
    OnEditChange(ids.speedList, [this] { OnSpeedChange(); });
    BindControls(&m_wShutterSpeed, {ids.speedList});
    BindControls(&m_bits.subSampling, {ids.draft});
    BindControls(&m_bits.windowEnable, {ids.partial});
    BindControls(&m_bits.bitInfo,
                 {ids.firstBitDepth, ids.firstBitDepth + 1, ids.firstBitDepth + 2});
    BindControls(&m_bits.trigger1, {ids.random, ids.posi});
    if (ids.restartReset)
        BindControls(&m_bits.trigger1, {ids.restartReset});
    BindControls(&m_bits.trigger2, {ids.pulse});
    BindControls(&m_bits.md1, {ids.multiple});
}

void CShutterPage::OnSpeedChange()
{
    const std::uint16_t before = m_wShutterSpeed;
    OnShutterListChange(m_ids.speedList, m_wShutterSpeed);
    if (m_wShutterSpeed != before)
        MarkChanged(&m_wShutterSpeed);
}

void CShutterPage::DoDataExchange(ui::DataExchange& dx)
{
    dx.Check(m_ids.draft, m_bits.draft);
    dx.Check(m_ids.partial, m_bits.partial);
    dx.Radio(m_ids.firstBitDepth, m_bits.bitDepth);
    dx.Check(m_ids.random, m_bits.random);
    dx.Check(m_ids.posi, m_bits.posi);
    dx.Check(m_ids.pulse, m_bits.pulse);
    dx.Check(m_ids.multiple, m_bits.multiple);
    if (m_ids.restartReset)
        dx.Check(m_ids.restartReset, m_bits.restartReset);
}

void CShutterPage::Refresh()
{
    ReadValue(m_wShutterSpeed, [&](std::uint16_t* v) { return ReadShutterSpeed(v); });
    CRVXReg* map = m_map.Get();
    for (const ScanTriggerRegisters& reg : kScanTriggerRegisters)
        ReadValue(m_bits.*reg.byte,
                  [&](std::uint8_t* v) { return map ? map->GetRegister(reg.address, v) : kNoMap; });
    m_bits.TakeFlags();
    if (Known(&m_wShutterSpeed))
        SelectListValue(GetComboBox(m_ids.speedList), m_wShutterSpeed);
    else
        GetComboBox(m_ids.speedList).SetCurSel(-1);
    UpdateData(false);
}

void CShutterPage::OnBitDepthClicked()
{
    UpdateData(true);
    const std::uint8_t before = m_bits.bitInfo;
    m_bits.MergeBitDepth();
    if (m_bits.bitInfo != before)
        MarkChanged(&m_bits.bitInfo);
}

void CShutterPage::Apply()
{
    UpdateData(true);
    m_bits.MergeFlags(m_ids.restartReset != 0);
    WriteValue(m_wShutterSpeed, [&](std::uint16_t v) { return WriteShutterSpeed(v); });
    if (CRVXReg* map = m_map.Get())
        for (const ScanTriggerRegisters& reg : kScanTriggerRegisters)
            WriteValue(m_bits.*reg.byte,
                       [&](std::uint8_t v) { return map->SetRegister(reg.address, v); });
}

void SelectListValue(ui::ComboBox combo, long long value)
{
    const std::string text = std::to_string(value);
    for (int i = 0; i < combo.GetCount(); ++i)
        if (combo.GetLBText(i) == text) {
            combo.SetCurSel(i);
            return;
        }
}

} // namespace pages
