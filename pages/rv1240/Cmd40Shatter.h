// RV1240DLX "Shutter": the 8-bit shutter speed, scan, bit depth and trigger settings. Unlike the
// other pages it also reads the camera when it is hidden.
#pragma once

#include "pages/CmdPage.h"
#include "pages/common/MapAccess.h"
#include "pages/common/ScanTriggerBits.h"

#include <cstdint>

class CRVX1240Reg;

class CCmd40Shatter : public pages::CCmdPage {
public:
    explicit CCmd40Shatter(pages::MapSlot<CRVX1240Reg> map);

    void Refresh() override;
    void Apply() override;
    void OnBitDepthClicked();
    // The speed from the chosen list item, or from what was typed into the combo's edit field.
    void OnSpeedSelChange();
    void OnSpeedEditChange();

    std::uint8_t m_byShutterSpeed = 0; // 0x68
    pages::ScanTriggerBits m_bits;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    void TakeSpeedText(const std::string& text);

    pages::MapSlot<CRVX1240Reg> m_map;
};
