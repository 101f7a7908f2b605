// RVQM52CM14 "Color": white-balance mode, gamma, masking, output format, the colour temperature
// and the manual R and B gains, and the one-push white balance.
#pragma once

#include "pages/CmdPage.h"
#include "pages/common/MapAccess.h"

#include <cstdint>

class CRVQM52BM14Reg;

class CCmd52CColor : public pages::CCmdPage {
public:
    explicit CCmd52CColor(pages::MapSlot<CRVQM52BM14Reg> map);

    void Refresh() override;
    void Apply() override;
    void OnModeClicked();
    void OnOpwb();
    void OnTempChange();

    int m_nModeRadio = -1;       // "Manual", "One Push"; -1 none chosen
    std::uint8_t m_byWbMode = 0; // 0 manual, 1 one push
    int m_nGamma = 0;
    int m_nMasking = 0;
    int m_nOutputFormat = 0;
    std::uint16_t m_wRGain = 0;
    std::uint16_t m_wBGain = 0;
    std::uint8_t m_byColorTemp = 0; // the code last read

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    bool ControlEditable(int id) const override;

private:
    // The camera's white-balance mode into the radios; anything but 0 or 1 changes nothing.
    void ReadWbMode();
    // "USER" is the chosen temperature: the manual gains are in use.
    bool UserGainsChosen() const;

    pages::MapSlot<CRVQM52BM14Reg> m_map;
};

// The list index of a colour-temperature code: the six listed temperatures, "USER" for any
// other code.
int ColorTempIndex(std::uint8_t code);
