#include "pages/rvqm52/Cmd52CColor.h"

#include "camera/RVQM52BM14Reg.h"
#include "res/Resource.h"
#include "res/ids/Rvqm52.h"

#include <iterator>
#include <string>
#include <utility>

using pages::ReadoutFormat;

namespace {

constexpr int kGainMax = 1535;

// The temperature list in its order, and the code each item writes.
struct ColorTemp {
    const char* text;
    std::uint8_t code;
};
constexpr ColorTemp kColorTemps[] = {{"3000K", 30}, {"3700K", 37}, {"4000K", 40},
                                     {"4500K", 45}, {"5500K", 55}, {"6500K", 65}};
constexpr const char* kUserText = "USER";
constexpr int kUserIndex = static_cast<int>(std::size(kColorTemps));
// The code that makes the camera use the manual R and B gains.
constexpr std::uint8_t kUserCode = 255;

} // namespace

int ColorTempIndex(std::uint8_t code)
{
    for (int i = 0; i < kUserIndex; ++i)
        if (kColorTemps[i].code == code)
            return i;
    return kUserIndex;
}

CCmd52CColor::CCmd52CColor(pages::MapSlot<CRVQM52BM14Reg> map)
    : pages::CCmdPage(IDD_CMD52C_COLOR, pages::RefreshOn::Show), m_map(std::move(map))
{
    BindBar(IDC_52COL_R_BAR, 0, kGainMax, m_wRGain,
            {{IDC_52COL_R_HEX, ReadoutFormat::Hex}, {IDC_52COL_R_DEC, ReadoutFormat::Dec}});
    BindBar(IDC_52COL_B_BAR, 0, kGainMax, m_wBGain,
            {{IDC_52COL_B_HEX, ReadoutFormat::Hex}, {IDC_52COL_B_DEC, ReadoutFormat::Dec}});
    OnClicked(IDC_52COL_REFRESH, [this] { Refresh(); });
    OnClicked(IDC_52COL_APPLY, [this] { Apply(); });
    OnClicked(IDC_52COL_OPWB, [this] { OnOpwb(); });
    OnClicked(IDC_52COL_MANUAL, [this] { OnModeClicked(); });
    OnClicked(IDC_52COL_ONEPUSH, [this] { OnModeClicked(); });
    OnSelChange(IDC_52COL_TEMP, [this] { OnTempChange(); });
    BindControls(&m_byWbMode, {IDC_52COL_MANUAL, IDC_52COL_ONEPUSH});
    BindControls(&m_nGamma, {IDC_52COL_GAMMA});
    BindControls(&m_nMasking, {IDC_52COL_MASKING});
    BindControls(&m_nOutputFormat, {IDC_52COL_FORMAT});
    BindControls(&m_byColorTemp, {IDC_52COL_TEMP});
}

bool CCmd52CColor::UserGainsChosen() const
{
    return Known(&m_byColorTemp) && GetComboBox(IDC_52COL_TEMP).GetCurSel() == kUserIndex;
}

bool CCmd52CColor::ControlEditable(int id) const
{
    // The manual gains are written only with "USER"; with a temperature they would be lost.
    switch (id) {
    case IDC_52COL_R_BAR:
    case IDC_52COL_R_HEX:
    case IDC_52COL_R_DEC:
    case IDC_52COL_B_BAR:
    case IDC_52COL_B_HEX:
    case IDC_52COL_B_DEC:
        return UserGainsChosen();
    default:
        return true;
    }
}

void CCmd52CColor::OnTempChange()
{
    MarkChanged(&m_byColorTemp);
    ShowStates();
}

void CCmd52CColor::DoDataExchange(ui::DataExchange& dx)
{
    dx.Radio(IDC_52COL_MANUAL, m_nModeRadio);
    dx.Check(IDC_52COL_GAMMA, m_nGamma);
    dx.Check(IDC_52COL_MASKING, m_nMasking);
    dx.Check(IDC_52COL_FORMAT, m_nOutputFormat);
}

void CCmd52CColor::ReadWbMode()
{
    int mode = -1;
    CRVQM52BM14Reg* map = m_map.Get();
    const CResult result = map ? map->GetWhiteBalanceMode(&mode) : pages::kNoMap;
    if (result.Ok() && mode != 0 && mode != 1)
        return;
    if (!TakeRead(&m_byWbMode, result)) {
        m_nModeRadio = -1;
        return;
    }
    m_nModeRadio = mode;
    m_byWbMode = static_cast<std::uint8_t>(mode);
}

void CCmd52CColor::Refresh()
{
    ReadWbMode();
    CRVQM52BM14Reg* map = m_map.Get();
    // A flag that was not read shows unticked and disabled.
    const auto readFlag = [&](int& flag, CResult (CRVQM52BM14Reg::*get)(std::uint8_t*)) {
        std::uint8_t value = 0;
        flag = TakeRead(&flag, map ? (map->*get)(&value) : pages::kNoMap) ? value : 0;
    };
    readFlag(m_nGamma, &CRVQM52BM14Reg::GetGamma);
    readFlag(m_nMasking, &CRVQM52BM14Reg::GetMasking);
    readFlag(m_nOutputFormat, &CRVQM52BM14Reg::GetOutputFormat);
    ReadBar(IDC_52COL_R_BAR, m_wRGain, map, &CRVQM52BM14Reg::GetRGain);
    ReadBar(IDC_52COL_B_BAR, m_wBGain, map, &CRVQM52BM14Reg::GetBGain);
    // A temperature that was not read chooses no item: it must not read as "USER".
    const bool temp = ReadValue(
        m_byColorTemp, [&](auto* v) { return map ? map->GetWbColorTemp(v) : pages::kNoMap; });
    GetComboBox(IDC_52COL_TEMP).SetCurSel(temp ? ColorTempIndex(m_byColorTemp) : -1);
    ShowStates();
    UpdateData(false);
}

void CCmd52CColor::OnModeClicked()
{
    UpdateData(true);
    if (m_nModeRadio >= 0 && m_nModeRadio != m_byWbMode) {
        m_byWbMode = static_cast<std::uint8_t>(m_nModeRadio);
        MarkChanged(&m_byWbMode);
    }
}

void CCmd52CColor::OnOpwb()
{
    if (CRVQM52BM14Reg* map = m_map.Get())
        NoteFailure(map->SetOpwb(1));
    ReadWbMode();
    UpdateData(false);
}

void CCmd52CColor::Apply()
{
    UpdateData(true);
    CRVQM52BM14Reg* map = m_map.Get();
    if (!map)
        return;
    WriteValue(m_byWbMode, [&](std::uint8_t v) { return map->SetWhiteBalanceMode(v); });
    const auto writeFlag = [&](const int& flag, CResult (CRVQM52BM14Reg::*set)(std::uint8_t)) {
        WriteValue(flag, [&](int v) { return (map->*set)(static_cast<std::uint8_t>(v)); });
    };
    writeFlag(m_nGamma, &CRVQM52BM14Reg::SetGamma);
    writeFlag(m_nMasking, &CRVQM52BM14Reg::SetMask);
    writeFlag(m_nOutputFormat, &CRVQM52BM14Reg::SetOutputFormat);
    // One push sets the colour itself; a mode or temperature that was not read writes none.
    if (!Known(&m_byWbMode) || m_byWbMode != 0 || !Known(&m_byColorTemp))
        return;
    ui::ComboBox combo = GetComboBox(IDC_52COL_TEMP);
    const int index = combo.GetCurSel();
    if (index < 0)
        return;
    const std::string text = combo.GetLBText(index);
    // A temperature written is the camera's again: the page no longer holds a change of it.
    const auto writeTemp = [&](std::uint8_t code) {
        const CResult result = map->SetWbColorTemp(code);
        NoteFailure(result);
        if (result.Ok())
            SetState(&m_byColorTemp, pages::ValueState::Read);
        return result.Ok();
    };
    for (const ColorTemp& temp : kColorTemps)
        if (text == temp.text) {
            writeTemp(temp.code);
            return;
        }
    if (text == kUserText && writeTemp(kUserCode)) {
        WriteValue(m_wRGain, [&](std::uint16_t v) { return map->SetRGain(v); });
        WriteValue(m_wBGain, [&](std::uint16_t v) { return map->SetBGain(v); });
    }
}
