// The RVQM52BM14 setting pages: identity with the FPGA version, self-check, user gain, shutter,
// partial scan, memory banks and raw register access. The colour model shows five of them too.
#include "res/Resource.h"
#include "res/Templates.h"
#include "res/dialogs/CommonPages.h"
#include "res/dialogs/Rvqm52Partial.h"
#include "res/ids/Rvqm52.h"

namespace res {

using namespace ui;

namespace {

constexpr std::uint32_t kReadout = es::ReadOnly | es::UpperCase | cs::Right | es::AutoHScroll;

const DialogTemplate& InfoTemplate()
{
    static const DialogTemplate dialog =
        IdentityPage(IDD_CMD52B_INFO, "Static",
                     {IDC_52INFO_VENDOR, IDC_52INFO_MODEL, IDC_52INFO_SERIAL, IDC_52INFO_CPU,
                      IDC_52INFO_FPGA, IDC_52INFO_REFRESH});
    return dialog;
}

const DialogTemplate& RegisterTemplate()
{
    static const DialogTemplate dialog =
        RegisterPage(IDD_CMD52B_REGISTER, {IDC_52REG_ADDRESS, IDC_52REG_DATA, IDC_52REG_READ,
                                           IDC_52REG_WRITE, IDC_52REG_STATUS, true});
    return dialog;
}

const DialogTemplate& MemTemplate()
{
    static const DialogTemplate dialog =
        MemoryPage(IDD_CMD52B_MEM, {IDC_52MEM_BANK0, IDC_52MEM_SAVE, IDC_52MEM_LOAD,
                                    IDC_52MEM_RESET, IDC_52MEM_DONE, "Bank "});
    return dialog;
}

const DialogTemplate& SelfChkTemplate()
{
    static const DialogTemplate dialog = SelfCheckPage(IDD_CMD52B_SELFCHK, 146,
                                                       {{{IDC_52CHK_INITIALIZE, "Initialize"},
                                                         {IDC_52CHK_UART, "UART"},
                                                         {IDC_52CHK_I2C, "I2C"},
                                                         {IDC_52CHK_EEPROM, "EEPROM"}},
                                                        IDC_52CHK_STATUS,
                                                        IDC_52CHK_STATUS2,
                                                        IDC_52CHK_SPARE,
                                                        true,
                                                        IDC_52CHK_REFRESH});
    return dialog;
}

const DialogTemplate& UsrGainTemplate()
{
    static const DialogTemplate dialog =
        GainPage(IDD_CMD52B_USRGAIN,
                 {"Setup(Offset) Level", IDC_52BGAIN_OFFSET_BAR, IDC_52BGAIN_OFFSET_HEX,
                  IDC_52BGAIN_OFFSET_LSB, "LSB", "0x32", "0xFF"},
                 {"Gain", IDC_52BGAIN_GAIN_BAR, IDC_52BGAIN_GAIN_HEX, IDC_52BGAIN_GAIN_DB, "dB",
                  "0", "0x96"},
                 IDC_52BGAIN_REFRESH, IDC_52BGAIN_APPLY);
    return dialog;
}

const DialogTemplate& ShatterTemplate()
{
    static const DialogTemplate dialog = ShutterPage(
        IDD_CMD52B_SHATTER, {IDC_52SHUT_SPEED,
                             {"2047", "1249", "624", "312", "156", "78", "39", "10", "0"},
                             IDC_52SHUT_DRAFT,
                             IDC_52SHUT_PARTIAL,
                             IDC_52SHUT_8BIT,
                             IDC_52SHUT_RANDOM,
                             IDC_52SHUT_RESTART,
                             IDC_52SHUT_POSI,
                             IDC_52SHUT_PULSE,
                             IDC_52SHUT_MULTIPLE,
                             0,
                             IDC_52SHUT_REFRESH,
                             IDC_52SHUT_APPLY});
    return dialog;
}

// One bar of the partial page with its range labels and its hexadecimal and decimal read-outs,
// in a group box whose top is at y.
void AddPartialBar(std::vector<ControlTemplate>& controls, const char* group, int y, int height,
                   int bar, int hex, int dec, const char* minimum, const char* maximum)
{
    controls.push_back({Kind::GroupBox, IDC_STATIC, group, {7, y, 132, height}});
    controls.push_back({Kind::HScrollBar, bar, "", {13, y + 11, 74, 10}, cs::TabStop});
    controls.push_back({Kind::Text, IDC_STATIC, "0x", {91, y + 12, 10, 8}});
    controls.push_back({Kind::Edit, hex, "", {101, y + 10, 32, 12}, kReadout});
    controls.push_back({Kind::Text, IDC_STATIC, minimum, {13, y + 24, 30, 8}});
    // The maximum ends short of the bar's end, so that it never runs into "Dec".
    controls.push_back({Kind::Text, IDC_STATIC, maximum, {53, y + 24, 30, 8}, cs::Right});
    controls.push_back({Kind::Text, IDC_STATIC, "Dec", {87, y + 26, 14, 8}});
    controls.push_back({Kind::Edit, dec, "", {101, y + 24, 32, 12}, kReadout});
}

const DialogTemplate& PartialTemplate()
{
    static const DialogTemplate dialog = MakePartialTemplate(
        {IDD_CMD52B_PARTIAL, IDC_52BPART_VSTART_BAR, IDC_52BPART_VSTART_HEX, IDC_52BPART_VSTART_DEC,
         IDC_52BPART_HEIGHT_BAR, IDC_52BPART_HEIGHT_HEX, IDC_52BPART_HEIGHT_DEC,
         IDC_52BPART_SHUTTER_BAR, IDC_52BPART_SHUTTER_HEX, IDC_52BPART_SHUTTER_DEC, IDC_52BPART_BP,
         IDC_52BPART_ACT, IDC_52BPART_FP, IDC_52BPART_FPS, IDC_52BPART_MAXHEIGHT,
         IDC_52BPART_EXPOSURE, IDC_52BPART_PICTURE, IDC_52BPART_REFRESH, IDC_52BPART_APPLY});
    return dialog;
}

} // namespace

DialogTemplate MakePartialTemplate(const PartialTemplateIds& ids)
{
    constexpr std::uint32_t kValue = es::ReadOnly | cs::Right | es::AutoHScroll;
    DialogTemplate dialog{ids.templateId, "", {0, 0, 255, 159}, ds::Child, 8, "", {}};
    std::vector<ControlTemplate>& c = dialog.controls;
    AddPartialBar(c, "Partial V Start", 7, 40, ids.vStartBar, ids.vStartHex, ids.vStartDec, "0",
                  "0x4A2");
    AddPartialBar(c, "Partial Height", 49, 40, ids.heightBar, ids.heightHex, ids.heightDec, "0x32",
                  "0x4D4");
    AddPartialBar(c, "Shutter Speed", 91, 50, ids.shutterBar, ids.shutterHex, ids.shutterDec, "0",
                  "0x7FF");
    c.push_back({Kind::Text, IDC_STATIC, "1/", {87, 131, 12, 8}});
    c.push_back({Kind::Edit, ids.exposure, "", {101, 129, 32, 12}, kValue});

    // A picture's caption is only its name for screen readers.
    c.push_back({Kind::Picture,
                 ids.picture,
                 "Partial Scan",
                 {144, 4, 67, 50},
                 ss::Bitmap,
                 {},
                 IDB_PARTIAL});

    c.push_back({Kind::GroupBox, IDC_STATIC, "Vertical Timing", {144, 56, 104, 44}});
    c.push_back({Kind::Text, IDC_STATIC, "Sync", {150, 69, 18, 8}});
    c.push_back({Kind::Text, IDC_STATIC, "3", {170, 69, 10, 8}});
    c.push_back({Kind::Text, IDC_STATIC, "BP", {198, 69, 10, 8}});
    c.push_back({Kind::Edit, ids.bp, "", {210, 67, 32, 12}, kValue});
    c.push_back({Kind::Text, IDC_STATIC, "ACT", {150, 84, 16, 8}});
    c.push_back({Kind::Edit, ids.act, "", {166, 82, 28, 12}, kValue});
    c.push_back({Kind::Text, IDC_STATIC, "FP", {198, 84, 10, 8}});
    c.push_back({Kind::Edit, ids.fp, "", {210, 82, 32, 12}, kValue});

    c.push_back({Kind::GroupBox, IDC_STATIC, "Partial Topics", {144, 102, 104, 40}});
    c.push_back({Kind::Text, IDC_STATIC, "Frame Rate", {149, 114, 38, 8}});
    c.push_back({Kind::Edit, ids.fps, "", {187, 112, 44, 12}, kValue});
    c.push_back({Kind::Text, IDC_STATIC, "fps", {233, 114, 12, 8}});
    c.push_back({Kind::Text, IDC_STATIC, "Max Height", {149, 128, 38, 8}});
    c.push_back({Kind::Edit, ids.maxHeight, "", {187, 126, 44, 12}, kValue});

    c.push_back({Kind::PushButton, ids.refresh, "&Refresh", {148, 143, 48, 14}, cs::TabStop});
    c.push_back({Kind::PushButton, ids.apply, "&Apply", {200, 143, 48, 14}, cs::TabStop});
    return dialog;
}

std::vector<const DialogTemplate*> Rvqm52PageTemplates()
{
    return {&InfoTemplate(),    &RegisterTemplate(), &MemTemplate(),    &SelfChkTemplate(),
            &UsrGainTemplate(), &ShatterTemplate(),  &PartialTemplate()};
}

} // namespace res
