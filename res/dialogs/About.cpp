// The about box.
#include "res/Templates.h"

#include "res/Resource.h"

namespace res {

using namespace ui;

const DialogTemplate& AboutTemplate()
{
    static const DialogTemplate dialog{
        IDD_ABOUTBOX,
        "VireoStudio Version",
        {0, 0, 250, 55},
        ds::Popup | ds::Caption | ds::ModalFrame | ds::SysMenu | ds::ToolWindow | ds::Center,
        8,
        "",
        {
            {Kind::Picture, IDC_STATIC, "", {11, 14, 20, 20}, ss::Icon, {}, IDR_MAINFRAME},
            {Kind::Text, IDC_STATIC, "VireoStudioUser Version 3.01", {40, 10, 140, 8}},
            {Kind::Text, IDC_STATIC, "Camera settings over the serial link", {40, 25, 140, 16}},
            {Kind::DefPushButton, IDOK, "OK", {193, 7, 50, 14}, cs::Group | cs::TabStop},
        },
    };
    return dialog;
}

} // namespace res
