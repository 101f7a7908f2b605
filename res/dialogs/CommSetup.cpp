// "COMM Setup": the port kind, the COM device, its speed and the reply time-out, the Camera Link
// port, and the cameras of the inventory by name.
#include "res/Templates.h"

#include "res/Resource.h"

namespace res {

using namespace ui;

const DialogTemplate& CommSetupTemplate()
{
    static const DialogTemplate dialog{
        IDD_COMM_SETUP,
        "COMM Setup",
        {0, 0, 340, 203},
        ds::Popup | ds::Caption | ds::ModalFrame | ds::SysMenu | ds::Center,
        8,
        "",
        {
            {Kind::GroupBox, IDC_STATIC, "COMM", {7, 7, 160, 132}},
            {Kind::RadioButton,
             IDC_RADIO_COMPORT,
             "&COM Port",
             {16, 20, 70, 10},
             cs::Group | cs::TabStop},
            {Kind::Text, IDC_STATIC, "&Port", {26, 39, 30, 8}},
            {Kind::ComboBox,
             IDC_COMBO_COMPORT,
             "",
             {64, 37, 92, 100},
             cbs::DropDown | cs::TabStop,
             {"COM1", "COM2", "COM3", "COM4"}},
            {Kind::GroupBox, IDC_STATIC, "Protocol", {16, 57, 142, 36}},
            {Kind::Text, IDC_STATIC, "&Speed", {26, 73, 34, 8}},
            {Kind::ComboBox,
             IDC_COMBO_SPEED,
             "",
             {64, 71, 86, 100},
             cbs::DropDown | cs::TabStop,
             {"4800", "9600", "19200", "38400", "57600", "115200", "230400"}},
            {Kind::GroupBox, IDC_STATIC, "&Timeout", {16, 97, 142, 36}},
            {Kind::Edit, IDC_EDIT_TIMEOUT, "", {26, 113, 60, 13}, es::AutoHScroll | cs::TabStop},
            {Kind::Text, IDC_STATIC, "[ms]", {92, 115, 30, 8}},
            {Kind::GroupBox, IDC_STATIC, "CL All Serial", {173, 7, 160, 132}},
            {Kind::RadioButton, IDC_RADIO_CAS, "C&L All Serial", {182, 20, 80, 10}, cs::TabStop},
            {Kind::Text, IDC_STATIC, "&ID", {192, 39, 30, 8}},
            {Kind::ComboBox,
             IDC_COMBO_CAS_PORT,
             "",
             {232, 37, 50, 100},
             cbs::DropDown | cs::TabStop},
            {Kind::Text, IDC_STATIC, "&Vendor", {192, 61, 38, 8}},
            {Kind::Edit,
             IDC_EDIT_CAS_VENDOR,
             "",
             {232, 59, 94, 13},
             es::ReadOnly | es::AutoHScroll},
            {Kind::Text, IDC_STATIC, "Po&rt", {192, 81, 38, 8}},
            {Kind::Edit,
             IDC_EDIT_CAS_PORTID,
             "",
             {232, 79, 94, 13},
             es::ReadOnly | es::AutoHScroll},
            // Why the ID list is empty, when it is.
            {Kind::Text, IDC_TEXT_CAS_PROBLEM, "", {182, 97, 146, 38}},
            {Kind::GroupBox, IDC_STATIC, "Inventory", {7, 143, 326, 36}},
            {Kind::Text, IDC_STATIC, "Ca&mera", {16, 159, 40, 8}},
            {Kind::ComboBox,
             IDC_COMBO_CAMERA,
             "",
             {64, 157, 92, 100},
             cbs::DropDownList | cs::TabStop},
            // Why the inventory offers no camera, when its file has a fault.
            {Kind::Text, IDC_TEXT_INVENTORY_PROBLEM, "", {173, 153, 154, 24}},
            {Kind::DefPushButton, IDOK, "&OK", {227, 182, 50, 14}, cs::Group | cs::TabStop},
            {Kind::PushButton, IDCANCEL, "C&ancel", {283, 182, 50, 14}, cs::TabStop},
        },
    };
    return dialog;
}

} // namespace res
