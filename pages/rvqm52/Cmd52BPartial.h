// RVQM52BM14 "Partial": the partial-scan window (first line and height) and the shutter speed,
// with the vertical timing, frame rate, largest height and exposure they give. The read-outs
// follow every Refresh and every scroll; only Apply writes.
#pragma once

#include "pages/CmdPage.h"
#include "pages/common/MapAccess.h"

#include <cstdint>

class CRVQM52BM14Reg;

class CCmd52BPartial : public pages::CCmdPage {
public:
    explicit CCmd52BPartial(pages::MapSlot<CRVQM52BM14Reg> map);

    void Refresh() override;
    void Apply() override;

    std::uint16_t m_wVStart = 0;
    std::uint16_t m_wHeight = 0;
    std::uint16_t m_wShutterSpeed = 0;

protected:
    // The control ids of a variant of the page and how its window bars step.
    struct Layout {
        int templateId;
        int refresh, apply;
        int vStartBar, vStartHex, vStartDec;
        int heightBar, heightHex, heightDec;
        int shutterBar, shutterHex, shutterDec;
        int bp, act, fp, fps, maxHeight, exposure;
        pages::BarSteps windowSteps;
    };
    CCmd52BPartial(const Layout& layout, pages::MapSlot<CRVQM52BM14Reg> map);

    void OnBarChanged(int barId) override;

private:
    void ShowTiming();

    Layout m_layout;
    pages::MapSlot<CRVQM52BM14Reg> m_map;
};
