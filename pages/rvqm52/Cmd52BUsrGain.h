// RVQM52BM14 "UserGain": the output offset (with its level in LSB) and the output gain (in dB).
#pragma once

#include "pages/CmdPage.h"
#include "pages/common/MapAccess.h"

#include <cstdint>

class CRVQM52BM14Reg;

class CCmd52BUsrGain : public pages::CCmdPage {
public:
    explicit CCmd52BUsrGain(pages::MapSlot<CRVQM52BM14Reg> map);

    void Refresh() override;
    void Apply() override;

    std::uint8_t m_byOffset = 0;
    std::uint8_t m_byGain = 0;

protected:
    // Where a variant of the page puts its bars and what its offset read-out shows.
    struct Layout {
        int templateId;
        int refresh;
        int apply;
        int offsetBar;
        int offsetMin;
        int offsetMax;
        pages::Readout offsetHex;
        pages::Readout offsetUnit;
        int gainBar;
        int gainMax;
        pages::Readout gainHex;
        pages::Readout gainDb;
    };
    CCmd52BUsrGain(const Layout& layout, pages::MapSlot<CRVQM52BM14Reg> map);

private:
    int m_offsetBar;
    int m_gainBar;
    pages::MapSlot<CRVQM52BM14Reg> m_map;
};
