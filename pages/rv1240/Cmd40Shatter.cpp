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
    // Leaving the page reads nothing: a slow or silent camera would hold up every switch.
    : pages::CCmdPage(IDD_CMD40_SHATTER, pages::RefreshOn::Show), m_map(std::move(map))
{
    OnClicked(IDC_40SHUT_REFRESH, [this] { Refresh(); });
    OnClicked(IDC_40SHUT_APPLY, [this] { Apply(); });
    for (int id : {IDC_40SHUT_8BIT, IDC_40SHUT_10BIT, IDC_40SHUT_12BIT})
        OnClicked(id, [this] { OnBitDepthClicked(); });
    OnSelChange(IDC_40SHUT_SPEED, [this] { OnSpeedSelChange(); });
    OnEditChange(IDC_40SHUT_SPEED, [this] { OnSpeedEditChange(); });
    BindControls(&m_byShutterSpeed, {IDC_40SHUT_SPEED});
    BindControls(&m_bits.md1, {IDC_40SHUT_MULTIPLE, IDC_40SHUT_SHUTTER});
    BindControls(&m_bits.trigger1, {IDC_40SHUT_RANDOM, IDC_40SHUT_POSI});
    BindControls(&m_bits.trigger2, {IDC_40SHUT_PULSE});
    BindControls(&m_bits.subSampling, {IDC_40SHUT_DRAFT});
    BindControls(&m_bits.windowEnable, {IDC_40SHUT_PARTIAL});
    BindControls(&m_bits.bitInfo, {IDC_40SHUT_8BIT, IDC_40SHUT_10BIT, IDC_40SHUT_12BIT});
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
    CRVX1240Reg* map = m_map.Get();
    const auto read = [&](std::uint8_t& value, CResult (CRVX1240Reg::*get)(std::uint8_t*)) {
        ReadValue(value, [&](std::uint8_t* v) { return map ? (map->*get)(v) : pages::kNoMap; });
    };
    read(m_bits.md1, &CRVX1240Reg::GetShatterMd1);
    read(m_byShutterSpeed, &CRVX1240Reg::GetShatterSpeed);
    read(m_bits.trigger1, &CRVX1240Reg::GetTrigger1);
    read(m_bits.trigger2, &CRVX1240Reg::GetTrigger2);
    read(m_bits.subSampling, &CRVX1240Reg::GetSubSampling);
    read(m_bits.windowEnable, &CRVX1240Reg::GetWindowEnable);
    read(m_bits.bitInfo, &CRVX1240Reg::GetBitInfo);
    m_bits.TakeFlags();
    if (Known(&m_byShutterSpeed))
        pages::SelectListValue(GetComboBox(IDC_40SHUT_SPEED), m_byShutterSpeed);
    else
        GetComboBox(IDC_40SHUT_SPEED).SetCurSel(-1);
    UpdateData(false);
}

void CCmd40Shatter::OnBitDepthClicked()
{
    UpdateData(true);
    const std::uint8_t before = m_bits.bitInfo;
    m_bits.MergeBitDepth();
    if (m_bits.bitInfo != before)
        MarkChanged(&m_bits.bitInfo);
}

void CCmd40Shatter::TakeSpeedText(const std::string& text)
{
    long long value = 0;
    if (TakeShutterText(text, kSpeedMax, value) && value != m_byShutterSpeed) {
        m_byShutterSpeed = static_cast<std::uint8_t>(value);
        MarkChanged(&m_byShutterSpeed);
    }
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
    CRVX1240Reg* map = m_map.Get();
    if (!map)
        return;
    const auto write = [&](const std::uint8_t& value, CResult (CRVX1240Reg::*set)(std::uint8_t)) {
        WriteValue(value, [&](std::uint8_t v) { return (map->*set)(v); });
    };
    write(m_bits.md1, &CRVX1240Reg::SetShatterMd1);
    write(m_byShutterSpeed, &CRVX1240Reg::SetShatterSpeed);
    write(m_bits.trigger1, &CRVX1240Reg::SetTrigger1);
    write(m_bits.trigger2, &CRVX1240Reg::SetTrigger2);
    write(m_bits.subSampling, &CRVX1240Reg::SetSubSampling);
    write(m_bits.windowEnable, &CRVX1240Reg::SetWindowEnable);
    write(m_bits.bitInfo, &CRVX1240Reg::SetBitInfo);
}
