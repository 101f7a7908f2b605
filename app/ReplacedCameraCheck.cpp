#include "app/ReplacedCameraCheck.h"

#include "camera/inventory/CameraReplacement.h"
#include "camera/inventory/ChosenCamera.h"
#include "camera/inventory/InventorySerial.h"
#include "platform/msgbox/MessageBox.h"

namespace {

constexpr const char* kCaption = "Camera Settings";

} // namespace

bool ConfirmAttachedCamera(CComIF* comIF, const std::function<AttachedCamera()>& attached,
                           SettingsTransfer transfer, std::optional<PendingReplacement>* record)
{
    if (record)
        record->reset();
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
    const bool recordSerial = load && replacement->recordSerial && record;
    const std::string path = inventory::DefaultInventoryPath();
    const std::string line = camera->name + ": " + replacement->text;
    std::string question =
        line + ".\n" +
        (load ? "Write the settings to this camera anyway? No sends nothing to the camera."
              : "Save this camera's settings anyway? No writes nothing to a file.");
    if (recordSerial)
        question += "\nWriting anyway makes " + path + " give serial " + found.serial + ".";
    if (!AskYesNo(question, kCaption))
        return false;
    // The inventory changes only once the load has written: a cancel before it changes nothing.
    if (recordSerial)
        *record = PendingReplacement{path, camera->name, found.serial, line};
    return true;
}

std::string RecordReplacement(const PendingReplacement& replacement)
{
    std::string problem;
    if (inventory::UpdateInventorySerial(replacement.path, replacement.name, replacement.serial,
                                         problem))
        return {};
    return replacement.line + "; written anyway, but the inventory is not updated: " + problem;
}
