// A load whose undoing was cut short because the camera stopped answering (a stall longer than
// the reply time-out) tries again: a camera that answers again within a few time-outs gets its
// old values back, and the load's report says so.
#pragma once

#include "camera/settings/SettingsFile.h"
#include "camera/settings/SettingsTransfer.h"

class CRVXReg;

// The tries, each at most one reply time-out while the camera is silent.
inline constexpr int kRestoreRetries = 4;

// Writes back and reads again each setting the load could not put back for want of an answer;
// the reports (and what the camera was read to hold) are brought up to date. A cancel, a
// refusal, or a camera still silent after the tries ends it.
void RetryUnansweredRestores(const SettingsFile& file, CRVXReg& map, LoadOutcome& outcome,
                             int tries = kRestoreRetries);
