#include "pages/common/MemPage.h"

#include "camera/RVXReg.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/ui/StatusLine.h"

#include <cstdio>

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

void CMemPage::RunCommand(CResult (CRVXReg::*command)(int), const char* done, const char* failed)
{
    CRVXReg* map = m_map.Get();
    if (!map || m_nBank < 0)
        return;
    const CResult result = (map->*command)(m_nBank);
    NoteFailure(result);
    char text[96];
    std::snprintf(text, sizeof text, result.Ok() ? done : failed, m_nBank);
    SetDlgItemText(m_ids.done, text);
    ui::ShowStatusLine(text);
}

void CMemPage::ForgetCamera()
{
    if (IsCreated())
        SetDlgItemText(m_ids.done, "");
}

void CMemPage::OnSave()
{
    RunCommand(&CRVXReg::SaveBankMemory, "The settings were saved to bank %d.",
               "Bank %d: saving failed.");
}

void CMemPage::OnLoad()
{
    RunCommand(&CRVXReg::LoadBankMemory, "The settings of bank %d were loaded.",
               "Bank %d: loading failed.");
}

void CMemPage::OnReset()
{
    if (!m_map.Get() || m_nBank < 0)
        return;
    // A reset loses what the bank held.
    char question[128];
    std::snprintf(question, sizeof question,
                  "Reset bank %d to its power-on values?\nThe settings saved in it are lost.",
                  m_nBank);
    if (!AskYesNo(question, "Reset Bank"))
        return;
    RunCommand(&CRVXReg::ResetBankMemory, "Bank %d was reset to its power-on values.",
               "Bank %d: resetting failed.");
}

} // namespace pages
