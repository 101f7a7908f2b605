#include "app/CommSetup.h"

#include "app/SetupDialog.h"
#include "comm/ComIF.h"
#include "platform/msgbox/MessageBox.h"

#include <memory>

namespace {

// Runs the dialog once; on OK applies the choice and stores it. True for OK.
bool RunSetupDialog(CComIF& comIF)
{
    std::unique_ptr<ISetupDialog> dialog = CreateSetupDialog();
    if (!dialog)
        return false;
    CComSettings settings = comIF.m_Settings;
    int casPortIndex = comIF.m_Cas.m_nPortIndex;
    int portType = comIF.PortType;
    if (!dialog->DoModal(&comIF, settings, casPortIndex, portType))
        return false;
    comIF.ApplySetup(settings, casPortIndex, portType);
    return true;
}

bool CameraLinkUnchosen(const CComIF& comIF)
{
    return comIF.PortType == PORT_CAMERALINK && comIF.m_Cas.m_nPortIndex == -1;
}

} // namespace

int OpenPortAsking(CComIF& comIF)
{
    // A loop, so that the depth stays flat however often OK is pressed.
    while (CameraLinkUnchosen(comIF))
        if (!RunSetupDialog(comIF))
            break;
    return comIF.Open();
}

int ShowCommSetup(CComIF& comIF, SetupCancel onCancel)
{
    bool openFailed = false;
    for (;;) {
        if (!RunSetupDialog(comIF)) {
            // At start-up the user keeps the settings just loaded: their port is opened as
            // stored.
            if (onCancel == SetupCancel::OpenStoredPort)
                return comIF.Open() ? 0 : LINK_REOPEN_FAILED;
            return openFailed ? LINK_REOPEN_FAILED : 0;
        }
        if (OpenPortAsking(comIF))
            return 0;
        // From the menu the user is told why and gets the dialog back to choose again; at
        // start-up the program goes on with the reason in the log. A Camera Link port left
        // unchosen was asked for again already.
        const std::string problem = comIF.OpenProblem();
        if (onCancel != SetupCancel::KeepPort || problem.empty() || CameraLinkUnchosen(comIF))
            return LINK_REOPEN_FAILED;
        openFailed = true;
        ShowMessageBox("The port could not be opened: " + problem, "COMM Setup", MsgIcon::Warning);
    }
}
