// The RVQM52CM14's own setting pages: user gain, partial scan and colour (white balance, gamma,
// masking, output format).
#include "res/Resource.h"
#include "res/Templates.h"
#include "res/dialogs/CommonPages.h"
#include "res/dialogs/Rvqm52Partial.h"
#include "res/ids/Rvqm52.h"

namespace res {

using namespace ui;

namespace {

constexpr std::uint32_t kReadout = es::ReadOnly | es::UpperCase | cs::Right | es::AutoHScroll;

const DialogTemplate& UsrGainTemplate()
{
    // The offset bar ends at 31, which is 0x1F.
    static const DialogTemplate dialog =
        GainPage(IDD_CMD52C_USRGAIN,
                 {"Setup(Offset) Level", IDC_52CGAIN_OFFSET_BAR, IDC_52CGAIN_OFFSET_HEX,
                  IDC_52CGAIN_OFFSET_LSB, "LSB", "0x00", "0x1F"},
                 {"Gain", IDC_52CGAIN_GAIN_BAR, IDC_52CGAIN_GAIN_HEX, IDC_52CGAIN_GAIN_DB, "dB",
                  "0", "0x4B"},
                 IDC_52CGAIN_REFRESH, IDC_52CGAIN_APPLY);
    return dialog;
}

const DialogTemplate& PartialTemplate()
{
    static const DialogTemplate dialog = MakePartialTemplate(
        {IDD_CMD52C_PARTIAL, IDC_52CPART_VSTART_BAR, IDC_52CPART_VSTART_HEX, IDC_52CPART_VSTART_DEC,
         IDC_52CPART_HEIGHT_BAR, IDC_52CPART_HEIGHT_HEX, IDC_52CPART_HEIGHT_DEC,
         IDC_52CPART_SHUTTER_BAR, IDC_52CPART_SHUTTER_HEX, IDC_52CPART_SHUTTER_DEC, IDC_52CPART_BP,
         IDC_52CPART_ACT, IDC_52CPART_FP, IDC_52CPART_FPS, IDC_52CPART_MAXHEIGHT,
         IDC_52CPART_EXPOSURE, IDC_52CPART_PICTURE, IDC_52CPART_REFRESH, IDC_52CPART_APPLY});
    return dialog;
}

// One manual gain row: label, bar, range labels and the hexadecimal and "LSB" read-outs.
void AddGainRow(std::vector<ControlTemplate>& c, const char* label, int y, int bar, int hex,
                int dec)
{
    c.push_back({Kind::Text, IDC_STATIC, label, {14, y + 2, 28, 8}});
    c.push_back({Kind::HScrollBar, bar, "", {44, y + 1, 110, 10}, cs::TabStop});
    c.push_back({Kind::Text, IDC_STATIC, "0x", {158, y + 2, 10, 8}});
    c.push_back({Kind::Edit, hex, "", {168, y, 30, 12}, kReadout});
    c.push_back({Kind::Text, IDC_STATIC, "LSB", {236, y + 2, 14, 8}});
    c.push_back({Kind::Edit, dec, "", {204, y, 30, 12}, kReadout});
    c.push_back({Kind::Text, IDC_STATIC, "0x00", {44, y + 13, 30, 8}});
    c.push_back({Kind::Text, IDC_STATIC, "0x5FF", {124, y + 13, 30, 8}, cs::Right});
}

DialogTemplate MakeColorTemplate()
{
    DialogTemplate dialog{IDD_CMD52C_COLOR, "", {0, 0, 257, 155}, ds::Child, 8, "", {}};
    std::vector<ControlTemplate>& c = dialog.controls;
    // "Manual" is the group's first button although "One Push" stands left of it.
    c.push_back({Kind::GroupBox, IDC_STATIC, "White Balance Mode", {7, 7, 120, 30}});
    c.push_back(
        {Kind::RadioButton, IDC_52COL_MANUAL, "Manual", {70, 19, 50, 10}, cs::Group | cs::TabStop});
    c.push_back({Kind::RadioButton, IDC_52COL_ONEPUSH, "One Push", {14, 19, 52, 10}});
    c.push_back({Kind::GroupBox, IDC_STATIC, "Gamma", {133, 7, 56, 30}, cs::Group});
    c.push_back({Kind::CheckBox, IDC_52COL_GAMMA, "On/Off", {140, 19, 44, 10}, cs::TabStop});
    c.push_back({Kind::GroupBox, IDC_STATIC, "Masking", {195, 7, 56, 30}});
    c.push_back({Kind::CheckBox, IDC_52COL_MASKING, "On/Off", {202, 19, 44, 10}, cs::TabStop});
    c.push_back({Kind::GroupBox, IDC_STATIC, "Output Format", {7, 41, 80, 30}});
    c.push_back({Kind::CheckBox, IDC_52COL_FORMAT, "RAW/RGB", {14, 53, 66, 10}, cs::TabStop});
    c.push_back({Kind::GroupBox, IDC_STATIC, "WB Color Temp.", {93, 41, 80, 30}});
    c.push_back({Kind::ComboBox,
                 IDC_52COL_TEMP,
                 "",
                 {100, 52, 66, 100},
                 cbs::DropDownList | cbs::Sort | cs::TabStop,
                 {"3000K", "3700K", "4000K", "4500K", "5500K", "6500K", "USER"}});
    c.push_back({Kind::GroupBox, IDC_STATIC, "One Phsh WB", {179, 41, 72, 30}});
    c.push_back({Kind::PushButton, IDC_52COL_OPWB, "OPWB", {190, 52, 50, 14}, cs::TabStop});
    c.push_back({Kind::GroupBox, IDC_STATIC, "Manual White Balance Gain", {7, 75, 244, 60}});
    AddGainRow(c, "R Gain", 86, IDC_52COL_R_BAR, IDC_52COL_R_HEX, IDC_52COL_R_DEC);
    AddGainRow(c, "B Gain", 110, IDC_52COL_B_BAR, IDC_52COL_B_HEX, IDC_52COL_B_DEC);
    c.push_back({Kind::PushButton, IDC_52COL_REFRESH, "&Refresh", {148, 138, 50, 14}, cs::TabStop});
    c.push_back({Kind::PushButton, IDC_52COL_APPLY, "&Apply", {202, 138, 50, 14}, cs::TabStop});
    return dialog;
}

const DialogTemplate& ColorTemplate()
{
    static const DialogTemplate dialog = MakeColorTemplate();
    return dialog;
}

} // namespace

std::vector<const DialogTemplate*> Rvqm52ColorPageTemplates()
{
    return {&ColorTemplate(), &UsrGainTemplate(), &PartialTemplate()};
}

} // namespace res
