// Where a loaded settings file is kept: in the camera's live settings only, or also in one of
// its memory banks once the load was verified.
#pragma once

#include <functional>
#include <optional>

class QWidget;

// The memory banks a load may be stored into.
inline constexpr int kLoadBankMax = 7;

struct LoadBankChoice {
    std::optional<int> bank; // empty: live only
};

// Asks in a small modal dialog; empty when the user cancelled.
std::optional<LoadBankChoice> AskLoadBank(QWidget* parent);
