// The record of one camera operation, taken from the register map's write watch: whatever
// operation writes (a setter, a bank command, a raw register, a text), each register it wrote
// is seen with its value before and after, so no change escapes the audit trail.
#pragma once

#include "camera/RVXReg.h"
#include "camera/audit/AuditTrail.h"

#include <optional>
#include <string>
#include <vector>

// Watches map's writes while it lives (in place of any other watch); registers are read before
// they are written.
class CWriteRecorder {
public:
    explicit CWriteRecorder(CRVXReg& map);
    ~CWriteRecorder();
    CWriteRecorder(const CWriteRecorder&) = delete;
    CWriteRecorder& operator=(const CWriteRecorder&) = delete;

    const std::vector<RegisterWrite>& Writes() const { return m_writes; }

private:
    CRVXReg& m_map;
    std::vector<RegisterWrite> m_writes;
};

// One trail line for the writes of an operation: named by the operation (or, for a single raw
// register, by its address), each register with its before and after; the result is the first
// failure's, else "ok". Nothing when nothing was written.
std::optional<AuditChange> ChangeOfWrites(const std::string& operation,
                                          const std::vector<RegisterWrite>& writes);

// True when one of the writes reached the camera's identity registers (vendor, model, serial,
// versions): the camera may now name itself otherwise.
bool WritesIdentity(const std::vector<RegisterWrite>& writes);
