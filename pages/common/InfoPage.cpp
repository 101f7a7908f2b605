#include "pages/common/InfoPage.h"

#include "camera/RVXReg.h"

#include <utility>

namespace pages {

CInfoPage::CInfoPage(int templateId, const InfoPageIds& ids, MapSlot<CRVXReg> map)
    : CCmdPage(templateId, RefreshOn::Show), m_ids(ids), m_map(std::move(map))
{
    OnClicked(ids.refresh, [this] { Refresh(); });
}

void CInfoPage::ReadCpuVersion(CRVXReg& map)
{
    map.GetCpuVersion(m_szCpuVersion);
}

void CInfoPage::Refresh()
{
    if (CRVXReg* map = m_map.Get()) {
        map->GetVenderName(m_szVender);
        map->GetModelName(m_szModel);
        map->GetSerialNo(m_szSerial);
        ReadCpuVersion(*map);
    }
    ShowTexts();
}

void CInfoPage::ShowTexts()
{
    SetDlgItemText(m_ids.vendor, m_szVender);
    SetDlgItemText(m_ids.model, m_szModel);
    SetDlgItemText(m_ids.serial, m_szSerial);
    SetDlgItemText(m_ids.cpu, m_szCpuVersion);
}

} // namespace pages
