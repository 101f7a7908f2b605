#include "camera/audit/WriteRecord.h"

namespace {

// Vendor, model name, serial number and the versions live below this address.
constexpr int kIdentityEnd = 0x40;

std::string ResultText(const CResult& result)
{
    return result.Ok() ? "ok" : result.Reason();
}

} // namespace

CWriteRecorder::CWriteRecorder(CRVXReg& map) : m_map(map)
{
    m_map.SetWriteWatch([this](const RegisterWrite& write) { m_writes.push_back(write); }, true);
}

CWriteRecorder::~CWriteRecorder()
{
    m_map.SetWriteWatch(nullptr);
}

std::optional<AuditChange> ChangeOfWrites(const std::string& operation,
                                          const std::vector<RegisterWrite>& writes)
{
    if (writes.empty())
        return std::nullopt;
    AuditChange change;
    change.setting = operation;
    change.result = "ok";
    for (const RegisterWrite& write : writes) {
        if (write.result.Failed() && change.result == "ok")
            change.result = ResultText(write.result);
        change.registers.push_back({write.address, write.before, write.after, write.textBefore,
                                    write.textAfter, ResultText(write.result)});
    }
    // One register with plain values says it all in the line's own fields.
    const RegisterChange& first = change.registers.front();
    if (change.registers.size() == 1 && !first.textBefore && !first.textAfter) {
        change.address = first.address;
        change.before = first.before;
        change.after = first.after;
        change.registers.clear();
    }
    return change;
}

bool WritesIdentity(const std::vector<RegisterWrite>& writes)
{
    for (const RegisterWrite& write : writes)
        if (write.address < kIdentityEnd)
            return true;
    return false;
}
