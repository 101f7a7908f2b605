// The RV1250LX setting pages: identity, self-check, user gain, memory banks, shutter and raw
// register access.
#include "res/Templates.h"
#include "res/dialogs/CommonPages.h"

#include "res/Resource.h"
#include "res/ids/Rv1250.h"

namespace res {

using namespace ui;

namespace {

constexpr std::uint32_t kReadout = es::ReadOnly | es::UpperCase | cs::Right | es::AutoHScroll;

const DialogTemplate& InfoTemplate()
{
    static const DialogTemplate dialog =
        IdentityPage(IDD_CMD50_INFO, "Static",
                     {IDC_50INFO_VENDOR, IDC_50INFO_MODEL, IDC_50INFO_SERIAL, IDC_50INFO_CPU, 0,
                      IDC_50INFO_REFRESH});
    return dialog;
}

const DialogTemplate& SelfChkTemplate()
{
    static const DialogTemplate dialog = SelfCheckPage(IDD_CMD50_SELFCHK, 133,
                                                       {{{IDC_50CHK_INITIALIZE, "Initialize"},
                                                         {IDC_50CHK_UART, "UART"},
                                                         {IDC_50CHK_I2C, "I2C"},
                                                         {IDC_50CHK_EEPROM, "EEPROM"}},
                                                        IDC_50CHK_STATUS,
                                                        IDC_50CHK_STATUS2,
                                                        IDC_50CHK_SPARE,
                                                        false,
                                                        IDC_50CHK_REFRESH});
    return dialog;
}

const DialogTemplate& UsrGainTemplate()
{
    static const DialogTemplate dialog{
        IDD_CMD50_USRGAIN,
        "",
        {0, 0, 254, 146},
        ds::Child,
        8,
        "",
        {
            {Kind::GroupBox, IDC_STATIC, "Clamp Level", {7, 7, 240, 50}},
            {Kind::HScrollBar, IDC_50GAIN_CLAMP_BAR, "", {16, 22, 150, 11}, cs::TabStop},
            {Kind::Text, IDC_STATIC, "0x", {172, 24, 10, 8}},
            {Kind::Edit, IDC_50GAIN_CLAMP_HEX, "", {182, 21, 50, 13}, kReadout},
            {Kind::Text, IDC_STATIC, "0", {16, 37, 30, 8}},
            {Kind::Text, IDC_STATIC, "0x1F", {136, 37, 30, 8}, cs::Right},
            {Kind::GroupBox, IDC_STATIC, "Gain", {7, 64, 240, 50}},
            {Kind::HScrollBar, IDC_50GAIN_GAIN_BAR, "", {16, 79, 150, 11}, cs::TabStop},
            {Kind::Text, IDC_STATIC, "0x", {172, 81, 10, 8}},
            {Kind::Edit, IDC_50GAIN_GAIN_HEX, "", {182, 78, 50, 13}, kReadout},
            {Kind::Text, IDC_STATIC, "0", {16, 94, 30, 8}},
            {Kind::Text, IDC_STATIC, "0x1FF", {136, 94, 30, 8}, cs::Right},
            {Kind::PushButton, IDC_50GAIN_REFRESH, "Refresh", {138, 124, 50, 14}, cs::TabStop},
            {Kind::PushButton, IDC_50GAIN_APPLY, "Apply", {197, 124, 50, 14}, cs::TabStop},
        },
    };
    return dialog;
}

const DialogTemplate& MemTemplate()
{
    static const DialogTemplate dialog = MemoryPage(
        IDD_CMD50_MEM, {IDC_50MEM_BANK0, IDC_50MEM_SAVE, IDC_50MEM_LOAD, IDC_50MEM_RESET, "Bank "});
    return dialog;
}

const DialogTemplate& ShatterTemplate()
{
    static const DialogTemplate dialog = ShutterPage(
        IDD_CMD50_SHATTER, {IDC_50SHUT_SPEED,
                            {"2047", "1250", "625", "312", "156", "78", "39", "10", "0"},
                            IDC_50SHUT_DRAFT,
                            IDC_50SHUT_PARTIAL,
                            IDC_50SHUT_8BIT,
                            IDC_50SHUT_RANDOM,
                            0,
                            IDC_50SHUT_POSI,
                            IDC_50SHUT_PULSE,
                            IDC_50SHUT_MULTIPLE,
                            0,
                            IDC_50SHUT_REFRESH,
                            IDC_50SHUT_APPLY});
    return dialog;
}

const DialogTemplate& RegisterTemplate()
{
    static const DialogTemplate dialog =
        RegisterPage(IDD_CMD50_REGISTER, {IDC_50REG_ADDRESS, IDC_50REG_DATA, IDC_50REG_READ,
                                          IDC_50REG_WRITE, IDC_50REG_STATUS, false});
    return dialog;
}

} // namespace

std::vector<const DialogTemplate*> Rv1250PageTemplates()
{
    return {&InfoTemplate(), &SelfChkTemplate(), &UsrGainTemplate(),
            &MemTemplate(),  &ShatterTemplate(), &RegisterTemplate()};
}

} // namespace res
