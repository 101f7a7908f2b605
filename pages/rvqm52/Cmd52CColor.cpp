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
    if (CRVQM52BM14Reg* map = m_map.Get())
        map->GetWhiteBalanceMode(&mode);
    if (mode == 0 || mode == 1) {
        m_nModeRadio = mode;
        m_byWbMode = static_cast<std::uint8_t>(mode);
    }
}

void CCmd52CColor::Refresh()
{
    ReadWbMode();
    CRVQM52BM14Reg* map = m_map.Get();
    // A failed read keeps what the page showed; the temperature then reads as "USER".
    std::uint8_t gamma = static_cast<std::uint8_t>(m_nGamma);
    std::uint8_t masking = static_cast<std::uint8_t>(m_nMasking);
    std::uint8_t format = static_cast<std::uint8_t>(m_nOutputFormat);
    std::uint16_t rGain = m_wRGain;
    std::uint16_t bGain = m_wBGain;
    std::uint8_t temp = 0;
    if (map) {
        map->GetGamma(&gamma);
        map->GetMasking(&masking);
        map->GetOutputFormat(&format);
    }
    m_nGamma = gamma;
    m_nMasking = masking;
    m_nOutputFormat = format;
    if (map) {
        map->GetRGain(&rGain);
        ShowBar(IDC_52COL_R_BAR, rGain);
        map->GetBGain(&bGain);
        ShowBar(IDC_52COL_B_BAR, bGain);
        map->GetWbColorTemp(&temp);
    }
    GetComboBox(IDC_52COL_TEMP).SetCurSel(ColorTempIndex(temp));
    UpdateData(false);
}

void CCmd52CColor::OnModeClicked()
{
    UpdateData(true);
    if (m_nModeRadio >= 0)
        m_byWbMode = static_cast<std::uint8_t>(m_nModeRadio);
}

void CCmd52CColor::OnOpwb()
{
    if (CRVQM52BM14Reg* map = m_map.Get())
        map->SetOpwb(1);
    ReadWbMode();
    UpdateData(false);
}

void CCmd52CColor::Apply()
{
    UpdateData(true);
    CRVQM52BM14Reg* map = m_map.Get();
    if (!map)
        return;
    map->SetWhiteBalanceMode(m_byWbMode);
    map->SetGamma(static_cast<std::uint8_t>(m_nGamma));
    map->SetMask(static_cast<std::uint8_t>(m_nMasking));
    map->SetOutputFormat(static_cast<std::uint8_t>(m_nOutputFormat));
    // One push sets the colour itself.
    if (m_byWbMode != 0)
        return;
    ui::ComboBox combo = GetComboBox(IDC_52COL_TEMP);
    const int index = combo.GetCurSel();
    if (index < 0)
        return;
    const std::string text = combo.GetLBText(index);
    for (const ColorTemp& temp : kColorTemps)
        if (text == temp.text) {
            map->SetWbColorTemp(temp.code);
            return;
        }
    if (text == kUserText) {
        map->SetWbColorTemp(kUserCode);
        map->SetRGain(m_wRGain);
        map->SetBGain(m_wBGain);
    }
}
