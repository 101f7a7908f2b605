// RV1250LX "UserGain": the 5-bit clamp level and the 9-bit output gain.
#pragma once

#include "pages/CmdPage.h"

#include <cstdint>

class CCmd50UsrGain : public pages::CCmdPage {
public:
    CCmd50UsrGain();

    void Refresh() override;
    void Apply() override;

    std::uint8_t m_byClampLevel = 0; // 0..31
    std::uint16_t m_wGain = 0;       // 0..511
};
