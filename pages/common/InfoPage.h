// The camera's identity texts: vendor, model name, serial number and CPU version, read when the
// page is shown or "Refresh" is pressed.
#pragma once

#include "pages/CmdPage.h"
#include "pages/common/MapAccess.h"

namespace pages {

struct InfoPageIds {
    int refresh;
    int vendor;
    int model;
    int serial;
    int cpu;
};

class CInfoPage : public CCmdPage {
public:
    CInfoPage(int templateId, const InfoPageIds& ids, MapSlot<CRVXReg> map);

    void Refresh() override;
    void ForgetCamera() override;

    char m_szVender[64] = {};
    char m_szModel[64] = {};
    char m_szSerial[64] = {};
    char m_szCpuVersion[64] = {};

protected:
    // Reads the CPU version text; a model with a shorter form overrides it.
    virtual void ReadCpuVersion(CRVXReg& map);
    // Marks a text from the result of its read; a failed one is emptied.
    void ReadText(char* text, const CResult& result);
    void ShowTexts();

    InfoPageIds m_ids;
    MapSlot<CRVXReg> m_map;
};

} // namespace pages
