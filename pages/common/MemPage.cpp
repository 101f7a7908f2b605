#include "pages/common/MemPage.h"

#include "camera/RVXReg.h"

#include <utility>

namespace pages {

CMemPage::CMemPage(int templateId, const MemPageIds& ids, MapSlot<CRVXReg> map)
    : CCmdPage(templateId, RefreshOn::Never), m_ids(ids), m_map(std::move(map))
{
    for (int id = ids.firstBank; id <= ids.lastBank; ++id)
        OnClicked(id, [this] { OnBankClicked(); });
    OnClicked(ids.save, [this] { OnSave(); });
    OnClicked(ids.load, [this] { OnLoad(); });
    OnClicked(ids.reset, [this] { OnReset(); });
}

bool CMemPage::OnInitDialog()
{
    CCmdPage::OnInitDialog();
    EnableCommands();
    return true;
}

void CMemPage::DoDataExchange(ui::DataExchange& dx)
{
    dx.Radio(m_ids.firstBank, m_nRadio);
}

void CMemPage::EnableCommands()
{
    const bool chosen = m_nBank >= 0;
    for (int id : {m_ids.save, m_ids.load, m_ids.reset})
        GetWindow(id).EnableWindow(chosen);
}

void CMemPage::OnBankClicked()
{
    UpdateData(true);
    m_nBank = m_nRadio;
    EnableCommands();
}

void CMemPage::OnSave()
{
    if (CRVXReg* map = m_map.Get(); map && m_nBank >= 0)
        map->SaveBankMemory(m_nBank);
}

void CMemPage::OnLoad()
{
    if (CRVXReg* map = m_map.Get(); map && m_nBank >= 0)
        map->LoadBankMemory(m_nBank);
}

void CMemPage::OnReset()
{
    if (CRVXReg* map = m_map.Get(); map && m_nBank >= 0)
        map->ResetBankMemory(m_nBank);
}

} // namespace pages
