#include "pages/common/SelfChkPage.h"

#include "camera/RVXReg.h"

#include <cstdio>
#include <utility>

namespace pages {

CSelfChkPage::CSelfChkPage(int templateId, SelfChkPageIds ids, MapSlot<CRVXReg> map)
    : CCmdPage(templateId, RefreshOn::Show), m_ids(std::move(ids)), m_map(std::move(map))
{
    OnClicked(m_ids.refresh, [this] { Refresh(); });
    BindControls(&m_byStatus, {m_ids.status});
    BindControls(&m_byStatus2, {m_ids.status2});
}

void CSelfChkPage::Refresh()
{
    CRVXReg* map = m_map.Get();
    TakeRead(m_nFlags, map ? map->GetErrorModeBits(m_nFlags) : kNoMap);
    ReadValue(m_byStatus, [&](std::uint8_t* v) { return map ? map->GetErrorStatus(v) : kNoMap; });
    ReadValue(m_byStatus2, [&](std::uint8_t* v) { return map ? map->GetErrorStatus2(v) : kNoMap; });
    // The boxes are never enabled; an error mode that was not read shows no error ticked.
    const bool flagsKnown = Known(m_nFlags);
    for (const ErrorBitBox& box : m_ids.boxes)
        CheckDlgButton(box.id, flagsKnown && m_nFlags[7 - box.bit] ? 1 : 0);
    char text[8];
    std::snprintf(text, sizeof text, "%x", m_byStatus);
    ShowKnownText(m_ids.status, &m_byStatus, text);
    std::snprintf(text, sizeof text, "%x", m_byStatus2);
    ShowKnownText(m_ids.status2, &m_byStatus2, text);
}

} // namespace pages
