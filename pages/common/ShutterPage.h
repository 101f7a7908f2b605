// Shutter, scan and trigger settings of the models with an 11-bit shutter speed: the speed
// through the model's named operation and the six bit-mapped registers through plain register
// access. The speed comes from the list; typed text is not read.
#pragma once

#include "pages/CmdPage.h"
#include "pages/common/MapAccess.h"
#include "pages/common/ScanTriggerBits.h"

#include <cstdint>
#include <utility>

namespace pages {

struct ShutterPageIds {
    int refresh;
    int apply;
    int speedList;
    int draft;
    int partial;
    int firstBitDepth; // "8bit"; "10bit" and "12bit" follow
    int random;
    int posi;
    int pulse;
    int multiple;
    int restartReset; // 0: the model shows no such box
};

class CShutterPage : public CCmdPage {
public:
    CShutterPage(int templateId, const ShutterPageIds& ids, MapSlot<CRVXReg> map);

    void Refresh() override;
    void Apply() override;
    void OnBitDepthClicked();
    void OnSpeedChange();

    std::uint16_t m_wShutterSpeed = 0;
    ScanTriggerBits m_bits;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    // The model's own 11-bit shutter-speed operations.
    virtual CResult ReadShutterSpeed(std::uint16_t* speed) = 0;
    virtual CResult WriteShutterSpeed(std::uint16_t speed) = 0;

private:
    ShutterPageIds m_ids;
    MapSlot<CRVXReg> m_map;
};

// The page on a model's map that has the 11-bit speed operations (GetShutterSpeed and
// SetShutterSpeed); the plain register accesses go through the same map. Nothing is exchanged
// while the slot holds no map.
template <class Map> class CShutterPageOf : public CShutterPage {
public:
    CShutterPageOf(int templateId, const ShutterPageIds& ids, MapSlot<Map> map)
        : CShutterPage(templateId, ids, map), m_speedMap(std::move(map))
    {
    }

protected:
    CResult ReadShutterSpeed(std::uint16_t* speed) override
    {
        Map* map = m_speedMap.Get();
        return map ? map->GetShutterSpeed(speed) : kNoMap;
    }
    CResult WriteShutterSpeed(std::uint16_t speed) override
    {
        Map* map = m_speedMap.Get();
        return map ? map->SetShutterSpeed(speed) : kNoMap;
    }

private:
    MapSlot<Map> m_speedMap;
};

// Selects the list item whose text is value; any other value leaves the list as it was.
void SelectListValue(ui::ComboBox combo, long long value);

// The six bit-mapped registers of a shutter page, read and written through plain register
// access on the page's map; each is marked as the page reads it, and only those known are
// written.
struct ScanTriggerRegisters {
    int address;
    std::uint8_t ScanTriggerBits::*byte;
};
inline constexpr ScanTriggerRegisters kScanTriggerRegisters[] = {
    {0x66, &ScanTriggerBits::md1},          {0x6A, &ScanTriggerBits::trigger1},
    {0x6B, &ScanTriggerBits::trigger2},     {0x70, &ScanTriggerBits::subSampling},
    {0x81, &ScanTriggerBits::windowEnable}, {0x90, &ScanTriggerBits::bitInfo}};

} // namespace pages
