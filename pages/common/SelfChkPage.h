// The camera's self-check result: one disabled check box per error bit it shows, and the two
// status bytes in hexadecimal.
#pragma once

#include "pages/CmdPage.h"
#include "pages/common/MapAccess.h"

#include <cstdint>
#include <vector>

namespace pages {

// A check box and the bit of the error-mode register it shows.
struct ErrorBitBox {
    int id;
    int bit;
};

struct SelfChkPageIds {
    int refresh;
    int status;
    int status2;
    std::vector<ErrorBitBox> boxes;
};

class CSelfChkPage : public CCmdPage {
public:
    CSelfChkPage(int templateId, SelfChkPageIds ids, MapSlot<CRVXReg> map);

    void Refresh() override;

    // Flag 0 is bit 7 of the error-mode register.
    std::int32_t m_nFlags[8] = {};
    std::uint8_t m_byStatus = 0;
    std::uint8_t m_byStatus2 = 0;

private:
    SelfChkPageIds m_ids;
    MapSlot<CRVXReg> m_map;
};

} // namespace pages
