// RV1250LX "Shutter": the 11-bit shutter speed from the list, scan, bit depth and trigger
// settings. Bit 1 of 0x66 has no box here; it is written back as it was read.
#pragma once

#include "pages/common/ShutterPage.h"

class CRVX1250Reg;

class CCmd50Shatter : public pages::CShutterPage {
public:
    explicit CCmd50Shatter(pages::MapSlot<CRVX1250Reg> map);

protected:
    int ReadShutterSpeed(std::uint16_t* speed) override;
    int WriteShutterSpeed(std::uint16_t speed) override;

private:
    pages::MapSlot<CRVX1250Reg> m_speedMap;
};
