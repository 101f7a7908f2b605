// Where a loaded settings file is kept: in the camera's live settings only, or also in one of
// its memory banks once the load was verified.
#pragma once

#include <functional>
#include <optional>

class QWidget;

struct LoadBankChoice {
    std::optional<int> bank; // empty: live only
};

// Asks in a small modal dialog offering banks 0..banks-1; empty when the user cancelled.
std::optional<LoadBankChoice> AskLoadBank(QWidget* parent, int banks);
