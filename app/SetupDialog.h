// What the COMM Setup loop needs of the communication setup dialog. The GUI registers the real one;
// without one (vireoctl) the dialog counts as cancelled.
#pragma once

#include "comm/Com.h"

#include <functional>
#include <memory>

class CComIF;

class ISetupDialog {
public:
    virtual ~ISetupDialog() = default;
    // Runs the dialog modally on a copy of the settings. Returns true when it ended with OK;
    // settings, casPortIndex and portType then hold the user's choice.
    virtual bool DoModal(CComIF* comIF, CComSettings& settings, int& casPortIndex,
                         int& portType) = 0;
};

using SetupDialogFactory = std::function<std::unique_ptr<ISetupDialog>()>;

// Installs the dialog the COMM Setup loop creates for each run; returns the previous one.
SetupDialogFactory SetSetupDialogFactory(SetupDialogFactory factory);
std::unique_ptr<ISetupDialog> CreateSetupDialog();
