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
    OnSelChange(ids.speedList, [this] { OnShutterListChange(m_ids.speedList, m_wShutterSpeed); });
    OnEditChange(ids.speedList, [this] { OnShutterListChange(m_ids.speedList, m_wShutterSpeed); });
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
    ReadShutterSpeed(&m_wShutterSpeed);
    if (CRVXReg* map = m_map.Get()) {
        map->GetRegister(0x66, &m_bits.md1);
        map->GetRegister(0x6A, &m_bits.trigger1);
        map->GetRegister(0x6B, &m_bits.trigger2);
        map->GetRegister(0x70, &m_bits.subSampling);
        map->GetRegister(0x81, &m_bits.windowEnable);
        map->GetRegister(0x90, &m_bits.bitInfo);
    }
    m_bits.TakeFlags();
    SelectListValue(GetComboBox(m_ids.speedList), m_wShutterSpeed);
    UpdateData(false);
}

void CShutterPage::OnBitDepthClicked()
{
    UpdateData(true);
    m_bits.MergeBitDepth();
}

void CShutterPage::Apply()
{
    UpdateData(true);
    m_bits.MergeFlags(m_ids.restartReset != 0);
    WriteShutterSpeed(m_wShutterSpeed);
    if (CRVXReg* map = m_map.Get()) {
        map->SetRegister(0x66, m_bits.md1);
        map->SetRegister(0x6A, m_bits.trigger1);
        map->SetRegister(0x6B, m_bits.trigger2);
        map->SetRegister(0x70, m_bits.subSampling);
        map->SetRegister(0x81, m_bits.windowEnable);
        map->SetRegister(0x90, m_bits.bitInfo);
    }
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
