// Raw register access: read or write one register by its hexadecimal address and show the
// result as text. The same page serves every model with its own control ids.
#pragma once

#include "pages/CmdPage.h"
#include "pages/common/MapAccess.h"

#include <string>

namespace pages {

struct RegisterPageIds {
    int address;
    int data;
    int read;
    int write;
    int status;
};

class CRegisterPage : public CCmdPage {
public:
    CRegisterPage(int templateId, const RegisterPageIds& ids, MapSlot<CRVXReg> map);

    void OnRead();
    void OnWrite();
    // Shows the text of a result code in the status box.
    void ShowRegisterStatus(int code);
    void ForgetCamera() override;

    std::string m_strStatus;

protected:
    void DoDataExchange(ui::DataExchange& dx) override;

private:
    // The box's text, at most 127 characters, parsed as hexadecimal; false when empty or not.
    bool ReadHexBox(int id, std::uint32_t& value) const;

    RegisterPageIds m_ids;
    MapSlot<CRVXReg> m_map;
};

} // namespace pages
