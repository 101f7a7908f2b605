#include "pages/common/SelfChkPage.h"

#include "camera/RVXReg.h"

#include <cstdio>
#include <utility>

namespace pages {

CSelfChkPage::CSelfChkPage(int templateId, SelfChkPageIds ids, MapSlot<CRVXReg> map)
    : CCmdPage(templateId, RefreshOn::Show), m_ids(std::move(ids)), m_map(std::move(map))
{
    OnClicked(m_ids.refresh, [this] { Refresh(); });
}

void CSelfChkPage::Refresh()
{
    if (CRVXReg* map = m_map.Get()) {
        map->GetErrorModeBits(m_nFlags);
        map->GetErrorStatus(&m_byStatus);
        map->GetErrorStatus2(&m_byStatus2);
    }
    for (const ErrorBitBox& box : m_ids.boxes)
        CheckDlgButton(box.id, m_nFlags[7 - box.bit] ? 1 : 0);
    char text[8];
    std::snprintf(text, sizeof text, "%x", m_byStatus);
    SetDlgItemText(m_ids.status, text);
    std::snprintf(text, sizeof text, "%x", m_byStatus2);
    SetDlgItemText(m_ids.status2, text);
}

} // namespace pages
