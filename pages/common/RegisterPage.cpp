#include "pages/common/RegisterPage.h"

#include "camera/RVXReg.h"
#include "pages/common/RegisterStatus.h"

#include <cstdio>
#include <utility>
#include <vector>

namespace pages {

namespace {
constexpr std::size_t kBoxTextMax = 127;
}

CRegisterPage::CRegisterPage(int templateId, const RegisterPageIds& ids, MapSlot<CRVXReg> map)
    : CCmdPage(templateId, RefreshOn::Never), m_ids(ids), m_map(std::move(map))
{
    OnClicked(ids.read, [this] { OnRead(); });
    OnClicked(ids.write, [this] { OnWrite(); });
}

void CRegisterPage::DoDataExchange(ui::DataExchange& dx)
{
    dx.Text(m_ids.status, m_strStatus);
}

bool CRegisterPage::ReadHexBox(int id, std::uint32_t& value) const
{
    std::string text = GetDlgItemText(id);
    if (text.size() > kBoxTextMax)
        text.resize(kBoxTextMax);
    if (text.empty())
        return false;
    std::vector<char> buffer(text.begin(), text.end());
    buffer.push_back('\0');
    return ParseHex(buffer.data(), value) != 0;
}

void CRegisterPage::ForgetCamera()
{
    m_strStatus.clear();
    if (IsCreated())
        SetDlgItemText(m_ids.status, "");
}

void CRegisterPage::ShowRegisterStatus(int code)
{
    m_strStatus = RegisterStatusText(code);
    UpdateData(false);
}

void CRegisterPage::OnRead()
{
    std::uint32_t address = 0;
    if (!ReadHexBox(m_ids.address, address)) {
        ShowRegisterStatus(REG_INVALID_REGISTER);
        return;
    }
    std::uint8_t value = 0;
    CRVXReg* map = m_map.Get();
    // Addresses beyond int are beyond the camera too; the map refuses them with code 3.
    const int target = address > 0x7FFFFFFFu ? -1 : static_cast<int>(address);
    const CResult result = map ? map->GetRegister(target, &value) : CResult(REG_INVALID_REGISTER);
    NoteFailure(result);
    ShowRegisterStatus(result.Code());
    // A failed read leaves the data box empty: nothing was read to show there.
    char text[8] = "";
    if (result.Ok())
        std::snprintf(text, sizeof text, "%02X", value);
    SetDlgItemText(m_ids.data, text);
}

void CRegisterPage::OnWrite()
{
    std::uint32_t address = 0;
    std::uint32_t data = 0;
    int result = 0;
    if (!ReadHexBox(m_ids.address, address))
        result = REG_INVALID_REGISTER;
    else if (!ReadHexBox(m_ids.data, data) || data > 0xFF)
        result = REG_INVALID_PARAMETER;
    else if (CRVXReg* map = m_map.Get()) {
        const CResult written = map->SetRegister(
            address > 0x7FFFFFFFu ? -1 : static_cast<int>(address), static_cast<int>(data));
        NoteFailure(written);
        result = written.Code();
    } else
        result = REG_INVALID_REGISTER;
    ShowRegisterStatus(result);
}

} // namespace pages
