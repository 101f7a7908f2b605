#include "app/ReplacedCameraCheck.h"

#include "camera/inventory/CameraReplacement.h"
#include "camera/inventory/ChosenCamera.h"
#include "camera/inventory/InventorySerial.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/ui/UserAction.h"

namespace {

constexpr const char* kCaption = "Camera Settings";

} // namespace

bool ConfirmAttachedCamera(CComIF* comIF, const std::function<AttachedCamera()>& attached,
                           SettingsTransfer transfer)
{
    if (!comIF || !attached)
        return true;
    const auto camera = inventory::CameraInUse(*comIF);
    if (!camera || (!camera->model && !camera->serial))
        return true;
    // Without an identity read at the port's opening there is nothing to compare; the model
    // check before the transfer still stands.
    const AttachedCamera found = attached();
    if (!found.portOpen || found.result.Failed())
        return true;
    const auto replacement =
        inventory::FindReplacement(camera->model, camera->serial, found.model, found.serial);
    if (!replacement)
        return true;
    const bool load = transfer == SettingsTransfer::Load;
    const bool record = load && replacement->recordSerial;
    const std::string path = inventory::DefaultInventoryPath();
    const std::string line = camera->name + ": " + replacement->text;
    std::string question =
        line + ".\n" +
        (load ? "Write the settings to this camera anyway? No sends nothing to the camera."
              : "Save this camera's settings anyway? No writes nothing to a file.");
    if (record)
        question += "\nWriting anyway makes " + path + " give serial " + found.serial + ".";
    if (!AskYesNo(question, kCaption))
        return false;
    if (!record)
        return true;
    std::string problem;
    if (!inventory::UpdateInventorySerial(path, camera->name, found.serial, problem)) {
        ui::ActionFailureTold();
        ShowMessageBox(line + "; the inventory is not updated: " + problem +
                           "\nNothing was sent to the camera.",
                       kCaption, MsgIcon::Warning);
        return false;
    }
    return true;
}
