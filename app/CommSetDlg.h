// The communication setup dialog: RS-232C or Camera Link, the COM device, its speed and the
// reply time-out, and the Camera Link port with its maker and identifier; or a camera of the
// inventory by name, which chooses its port. It edits a copy of the facade's settings; the
// facade applies, stores and reopens.
#pragma once

#include "camera/inventory/CameraInventory.h"
#include "comm/Com.h"
#include "app/SetupDialog.h"
#include "platform/ui/Dialog.h"

#include <string>
#include <vector>

class CComIF;

class CCommSetDlg : public ui::Dialog, public ISetupDialog {
public:
    CCommSetDlg();

    // Runs the dialog on the given values; on OK they receive the user's choice.
    bool DoModal(CComIF* comIF, CComSettings& settings, int& casPortIndex, int& portType) override;
    using ui::Dialog::DoModal;

    // Filled before the dialog runs, read back after OK.
    CComIF* m_pComIF = nullptr;
    int m_nPortType = 0;
    CComSettings m_Settings;
    int m_nCasPortIndex = -1;
    // The inventory camera chosen, empty for a port chosen by itself; stored on OK.
    std::string m_sCameraName;

    // Position of a baud rate in the speed list, -1 for a rate the list does not hold.
    static int SpeedListPosition(int baudRate);
    // Baud rate of a speed-list text; 9600 for any other text.
    static int BaudRateOfSpeedText(const std::string& text);

protected:
    bool OnInitDialog() override;
    void OnOK() override;

private:
    // The port name chosen or typed; false with what is wrong for a malformed one.
    bool TakePortName(std::string& name, std::string& problem) const;
    void OnCasPortChange();
    void ShowCasPort();
    // Offers the inventory's cameras, with the one stored chosen.
    void ShowInventory();
    // Shows the chosen camera's port as the port chosen.
    void OnCameraChange();

    inventory::CameraInventory m_inventory;
};

// Serial devices of this machine under devDir, as device paths: USB and ACM adapters, on-board
// UARTs of small boards and Bluetooth serial links, in natural order (ttyUSB2 before ttyUSB10).
std::vector<std::string> ListSerialDevices(const std::string& devDir = "/dev");

// The names under byIdDir (links such as /dev/serial/by-id/usb-FTDI_...-port0) that stand for
// one of devices, in name order: a name that stays with the adapter when it is plugged elsewhere.
std::vector<std::string> ListSerialDeviceAliases(const std::vector<std::string>& devices,
                                                 const std::string& byIdDir = "/dev/serial/by-id");

// Makes CCommSetDlg the dialog the facade shows.
void RegisterCommSetDlg();
