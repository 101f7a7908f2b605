// Which values a settings file holds for each camera model: exactly those the model's setting
// pages write with Apply, under their operations' names, with the ranges the pages allow, in the
// order the pages write them (white-balance mode before the colour temperature, the colour
// temperature before the R and B gains).
#pragma once

#include "camera/settings/CameraModel.h"
#include "comm/Result.h"

#include <functional>
#include <string>
#include <vector>

class CRVXReg;

struct SettingDef {
    std::string name; // the operation's name without Get/Set ("OutLevelGain")
    int minimum = 0;
    int maximum = 0;
    std::vector<int> allowed; // when not empty, the only values the page can write
    // The operation (and fixed arguments) that writes it, as vireoctl's call takes it.
    std::string setter;
    // The registers the setter writes, the one holding the low bits last.
    std::vector<int> registers;
    // Both take the register map of the model's family; they return the operation's result.
    std::function<CResult(CRVXReg& map, int& value)> read;
    std::function<CResult(CRVXReg& map, int value)> write;

    // Why the page could not write value; empty when it could.
    std::string CheckValue(long long value) const;
    // "SetOutLevelGain 32", "SetRegister 0x66 3".
    std::string WriteText(int value) const;
};

// In write order.
const std::vector<SettingDef>& SettingsOf(CameraModel model);
const SettingDef* FindSetting(CameraModel model, const std::string& name);
// The setting a write of the register changes; null for a register no setting of model writes.
const SettingDef* SettingOfRegister(CameraModel model, int address);
