// The camera's user memory banks: choose a bank, then save the live settings into it, load them
// back, or reset it. Nothing is read when the page is shown.
#pragma once

#include "pages/CmdPage.h"
#include "pages/common/MapAccess.h"

namespace pages {

struct MemPageIds {
    int firstBank; // first of the four bank radio buttons
    int lastBank;
    int save;
    int load;
    int reset;
    int done; // the line that tells what the last command did
};

class CMemPage : public CCmdPage {
public:
    CMemPage(int templateId, const MemPageIds& ids, MapSlot<CRVXReg> map);

    void OnBankClicked();
    void OnSave();
    void OnLoad();
    void OnReset();
    void ForgetCamera() override;

    int m_nBank = -1;  // no bank until the user chooses one
    int m_nRadio = -1; // index of the chosen bank button

protected:
    bool OnInitDialog() override;
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    // The command buttons send nothing without a bank, so they wait for one.
    void EnableCommands();
    // Runs one bank command and tells on the page what it did.
    void RunCommand(CResult (CRVXReg::*command)(int), const char* done, const char* failed);

    MemPageIds m_ids;
    MapSlot<CRVXReg> m_map;
};

} // namespace pages
