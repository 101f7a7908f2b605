#include "pages/common/InfoPage.h"

#include "camera/RVXReg.h"

#include <cstring>
#include <utility>

namespace pages {

CInfoPage::CInfoPage(int templateId, const InfoPageIds& ids, MapSlot<CRVXReg> map)
    : CCmdPage(templateId, RefreshOn::Show), m_ids(ids), m_map(std::move(map))
{
    OnClicked(ids.refresh, [this] { Refresh(); });
    BindControls(m_szVender, {ids.vendor});
    BindControls(m_szModel, {ids.model});
    BindControls(m_szSerial, {ids.serial});
    BindControls(m_szCpuVersion, {ids.cpu});
}

void CInfoPage::ReadText(char* text, const CResult& result)
{
    // A text whose read failed part-way is no text the camera gave; the map marks a serial
    // number it could not read with dashes of its own, which stay.
    if (!TakeRead(text, result) && std::strcmp(text, kSerialNoUnknown) != 0)
        text[0] = '\0';
}

void CInfoPage::ReadCpuVersion(CRVXReg& map)
{
    ReadText(m_szCpuVersion, map.GetCpuVersion(m_szCpuVersion));
}

void CInfoPage::Refresh()
{
    if (CRVXReg* map = m_map.Get()) {
        ReadText(m_szVender, map->GetVenderName(m_szVender));
        ReadText(m_szModel, map->GetModelName(m_szModel));
        ReadText(m_szSerial, map->GetSerialNo(m_szSerial));
        ReadCpuVersion(*map);
    }
    ShowTexts();
}

void CInfoPage::ForgetCamera()
{
    CCmdPage::ForgetCamera();
    for (char* text : {m_szVender, m_szModel, m_szSerial, m_szCpuVersion})
        text[0] = '\0';
    if (IsCreated())
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
