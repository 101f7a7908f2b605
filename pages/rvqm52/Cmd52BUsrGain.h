// RVQM52BM14 "UserGain": the output offset (with its level in LSB) and the output gain (in dB).
#pragma once

#include "pages/CmdPage.h"

#include <cstdint>

class CCmd52BUsrGain : public pages::CCmdPage {
public:
    CCmd52BUsrGain();

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
    explicit CCmd52BUsrGain(const Layout& layout);

private:
    int m_offsetBar;
    int m_gainBar;
};
