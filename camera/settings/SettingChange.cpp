#include "camera/settings/SettingChange.h"

#include "camera/audit/WriteRecord.h"
#include "comm/ComIF.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>

namespace {

// A port whose camera is a set of known register values: a read of one of them is answered
// with it, anything else goes unanswered.
class CRegisterSnapshot final : public CComIF {
public:
    explicit CRegisterSnapshot(std::map<int, int> values) : m_values(std::move(values)) {}

    CResult SendReceive(const char* request, char* reply, std::size_t replySize) override
    {
        // STX, the address in hexadecimal, "RQ", ETX.
        const char* read = std::strstr(request, "RQ");
        if (!read || request[0] != '\x02' || replySize < 4)
            return LINK_TIMEOUT;
        const std::string digits(request + 1, read);
        char* end = nullptr;
        const long address = std::strtol(digits.c_str(), &end, 16);
        const auto known = m_values.find(static_cast<int>(address));
        if (digits.empty() || *end != '\0' || known == m_values.end())
            return LINK_TIMEOUT;
        std::snprintf(reply, replySize, "%02X", known->second & 0xFF);
        return LINK_OK;
    }

private:
    std::map<int, int> m_values;
};

std::optional<int> ValueOf(const SettingDef& setting, CameraModel model,
                           const std::vector<RegisterWrite>& writes, bool after)
{
    std::map<int, int> values;
    for (const RegisterWrite& write : writes)
        if (const std::optional<int>& value = after ? write.after : write.before)
            values[write.address] = *value;
    CRegisterSnapshot snapshot(std::move(values));
    const std::unique_ptr<CRVXReg> map = MakeRegisterMap(model, &snapshot);
    // Working a value out is no camera operation: the sequence log does not hear of it.
    map->SetSequenceLogged(false);
    int value = 0;
    if (setting.read(*map, value).Failed())
        return std::nullopt;
    return value;
}

} // namespace

std::optional<AuditChange> SettingChangeOfWrites(const SettingDef& setting, CameraModel model,
                                                 const std::vector<RegisterWrite>& writes)
{
    std::optional<AuditChange> change = ChangeOfWrites(setting.name, writes);
    if (!change)
        return std::nullopt;
    // The registers stay listed beside the setting's values, as vireoctl lists them.
    if (change->address)
        change->registers.push_back({*change->address, change->before, change->after, std::nullopt,
                                     std::nullopt, change->result});
    change->address.reset();
    change->before = ValueOf(setting, model, writes, false);
    change->after = ValueOf(setting, model, writes, true);
    return change;
}
