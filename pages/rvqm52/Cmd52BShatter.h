// RVQM52 "Shutter": the 11-bit shutter speed from its list, scan, bit depth and trigger settings
// with Restart Reset. Serves both RVQM52 models.
#pragma once

#include "pages/common/ShutterPage.h"

class CRVQM52BM14Reg;

class CCmd52BShatter : public pages::CShutterPage {
public:
    explicit CCmd52BShatter(pages::MapSlot<CRVQM52BM14Reg> map);

protected:
    int ReadShutterSpeed(std::uint16_t* speed) override;
    int WriteShutterSpeed(std::uint16_t speed) override;

private:
    pages::MapSlot<CRVQM52BM14Reg> m_speedMap;
};
