#include "pages/rv1240/Cmd40Shatter.h"

#include "camera/RVX1240Reg.h"
#include "pages/common/ShutterPage.h"
#include "res/Resource.h"
#include "res/ids/Rv1240.h"

#include <utility>

namespace {
constexpr int kSpeedMax = 255;
}

CCmd40Shatter::CCmd40Shatter(pages::MapSlot<CRVX1240Reg> map)
    : pages::CCmdPage(IDD_CMD40_SHATTER, pages::RefreshOn::ShowAndHide), m_map(std::move(map))
{
    OnClicked(IDC_40SHUT_REFRESH, [this] { Refresh(); });
    OnClicked(IDC_40SHUT_APPLY, [this] { Apply(); });
    for (int id : {IDC_40SHUT_8BIT, IDC_40SHUT_10BIT, IDC_40SHUT_12BIT})
        OnClicked(id, [this] { OnBitDepthClicked(); });
    OnSelChange(IDC_40SHUT_SPEED, [this] { OnSpeedSelChange(); });
    OnEditChange(IDC_40SHUT_SPEED, [this] { OnSpeedEditChange(); });
}

void CCmd40Shatter::DoDataExchange(ui::DataExchange& dx)
{
    dx.Check(IDC_40SHUT_DRAFT, m_bits.draft);
    dx.Check(IDC_40SHUT_PARTIAL, m_bits.partial);
    dx.Radio(IDC_40SHUT_8BIT, m_bits.bitDepth);
    dx.Check(IDC_40SHUT_RANDOM, m_bits.random);
    dx.Check(IDC_40SHUT_POSI, m_bits.posi);
    dx.Check(IDC_40SHUT_PULSE, m_bits.pulse);
    dx.Check(IDC_40SHUT_MULTIPLE, m_bits.multiple);
    dx.Check(IDC_40SHUT_SHUTTER, m_bits.shutter);
}

void CCmd40Shatter::Refresh()
{
    if (CRVX1240Reg* map = m_map.Get()) {
        map->GetShatterMd1(&m_bits.md1);
        map->GetShatterSpeed(&m_byShutterSpeed);
        map->GetTrigger1(&m_bits.trigger1);
        map->GetTrigger2(&m_bits.trigger2);
        map->GetSubSampling(&m_bits.subSampling);
        map->GetWindowEnable(&m_bits.windowEnable);
        map->GetBitInfo(&m_bits.bitInfo);
    }
    m_bits.TakeFlags();
    pages::SelectListValue(GetComboBox(IDC_40SHUT_SPEED), m_byShutterSpeed);
    UpdateData(false);
}

void CCmd40Shatter::OnBitDepthClicked()
{
    UpdateData(true);
    m_bits.MergeBitDepth();
}

void CCmd40Shatter::TakeSpeedText(const std::string& text)
{
    long long value = 0;
    if (TakeShutterText(text, kSpeedMax, value))
        m_byShutterSpeed = static_cast<std::uint8_t>(value);
}

void CCmd40Shatter::OnSpeedSelChange()
{
    ui::ComboBox combo = GetComboBox(IDC_40SHUT_SPEED);
    const int index = combo.GetCurSel();
    if (index >= 0)
        TakeSpeedText(combo.GetLBText(index));
}

void CCmd40Shatter::OnSpeedEditChange()
{
    TakeSpeedText(GetComboBox(IDC_40SHUT_SPEED).GetWindowText());
}

void CCmd40Shatter::Apply()
{
    UpdateData(true);
    m_bits.MergeFlags(false);
    if (CRVX1240Reg* map = m_map.Get()) {
        map->SetShatterMd1(m_bits.md1);
        map->SetShatterSpeed(m_byShutterSpeed);
        map->SetTrigger1(m_bits.trigger1);
        map->SetTrigger2(m_bits.trigger2);
        map->SetSubSampling(m_bits.subSampling);
        map->SetWindowEnable(m_bits.windowEnable);
        map->SetBitInfo(m_bits.bitInfo);
    }
}
