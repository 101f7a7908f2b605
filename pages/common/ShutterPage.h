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

    std::uint16_t m_wShutterSpeed = 0;
    ScanTriggerBits m_bits;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;
    // The model's own 11-bit shutter-speed operations. Like the plain register accesses, their
    // results are not looked at: a failed read leaves the page value as it was.
    virtual void ReadShutterSpeed(std::uint16_t* speed) = 0;
    virtual void WriteShutterSpeed(std::uint16_t speed) = 0;

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
    void ReadShutterSpeed(std::uint16_t* speed) override
    {
        if (Map* map = m_speedMap.Get())
            map->GetShutterSpeed(speed);
    }
    void WriteShutterSpeed(std::uint16_t speed) override
    {
        if (Map* map = m_speedMap.Get())
            map->SetShutterSpeed(speed);
    }

private:
    MapSlot<Map> m_speedMap;
};

// Selects the list item whose text is value; any other value leaves the list as it was.
void SelectListValue(ui::ComboBox combo, long long value);

} // namespace pages
