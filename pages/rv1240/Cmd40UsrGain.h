// RV1240DLX "UserGain": the signed output offset and the output gain.
#pragma once

#include "pages/CmdPage.h"
#include "pages/common/MapAccess.h"

#include <cstdint>

class CRVX1240Reg;

class CCmd40UsrGain : public pages::CCmdPage {
public:
    explicit CCmd40UsrGain(pages::MapSlot<CRVX1240Reg> map);

    void Refresh() override;
    void Apply() override;

    std::int16_t m_nOffset = 0;
    std::uint8_t m_byGain = 0;

protected:
    // The page keeps nothing in its controls that a scroll could lose, but pulls them first all
    // the same, as Apply does.
    void OnBeforeScroll() override { UpdateData(true); }

private:
    pages::MapSlot<CRVX1240Reg> m_map;
};
