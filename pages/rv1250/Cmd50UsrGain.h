// RV1250LX "UserGain": the 5-bit clamp level and the 9-bit output gain.
#pragma once

#include "pages/CmdPage.h"
#include "pages/common/MapAccess.h"

#include <cstdint>

class CRVX1250Reg;

class CCmd50UsrGain : public pages::CCmdPage {
public:
    explicit CCmd50UsrGain(pages::MapSlot<CRVX1250Reg> map);

    void Refresh() override;
    void Apply() override;

    std::uint8_t m_byClampLevel = 0; // 0..31
    std::uint16_t m_wGain = 0;       // 0..511

private:
    pages::MapSlot<CRVX1250Reg> m_map;
};
