// The RV1250LX setting pages: identity, self-check, user gain, memory banks, shutter and raw
// register access.
#include "res/Templates.h"

#include "res/Resource.h"
#include "res/ids/Rv1250.h"

namespace res {

using namespace ui;

namespace {

constexpr std::uint32_t kReadout = es::ReadOnly | es::UpperCase | cs::Right | es::AutoHScroll;

const DialogTemplate& InfoTemplate()
{
    static const DialogTemplate dialog{
        IDD_CMD50_INFO,
        "",
        {0, 0, 249, 145},
        ds::Child,
        8,
        "",
        {
            {Kind::GroupBox, IDC_STATIC, "Static", {7, 7, 235, 108}},
            {Kind::Text, IDC_STATIC, "Vender Name", {16, 24, 62, 8}},
            {Kind::Edit, IDC_50INFO_VENDOR, "", {84, 22, 148, 13}, es::ReadOnly | es::AutoHScroll},
            {Kind::Text, IDC_STATIC, "Model Name", {16, 46, 62, 8}},
            {Kind::Edit, IDC_50INFO_MODEL, "", {84, 44, 148, 13}, es::ReadOnly | es::AutoHScroll},
            {Kind::Text, IDC_STATIC, "Serial Number", {16, 68, 62, 8}},
            {Kind::Edit,
             IDC_50INFO_SERIAL,
             "",
             {84, 66, 80, 13},
             es::ReadOnly | cs::Right | es::AutoHScroll},
            {Kind::Text, IDC_STATIC, "CPU Version", {16, 90, 62, 8}},
            {Kind::Edit,
             IDC_50INFO_CPU,
             "",
             {84, 88, 80, 13},
             es::ReadOnly | cs::Right | es::AutoHScroll},
            {Kind::PushButton, IDC_50INFO_REFRESH, "Refresh", {192, 124, 50, 14}, cs::TabStop},
        },
    };
    return dialog;
}

const DialogTemplate& SelfChkTemplate()
{
    constexpr std::uint32_t kIndicator = cs::Disabled | bs::LeftText;
    static const DialogTemplate dialog{
        IDD_CMD50_SELFCHK,
        "",
        {0, 0, 177, 133},
        ds::Child,
        8,
        "",
        {
            {Kind::GroupBox, IDC_STATIC, "Self Check", {7, 7, 80, 64}},
            {Kind::CheckBox, IDC_50CHK_INITIALIZE, "Initialize", {14, 19, 64, 10}, kIndicator},
            {Kind::CheckBox, IDC_50CHK_UART, "UART", {14, 32, 64, 10}, kIndicator},
            {Kind::CheckBox, IDC_50CHK_I2C, "I2C", {14, 45, 64, 10}, kIndicator},
            {Kind::CheckBox, IDC_50CHK_EEPROM, "EEPROM", {14, 58, 64, 10}, kIndicator},
            {Kind::GroupBox, IDC_STATIC, "Status", {93, 7, 77, 100}},
            {Kind::Text, IDC_STATIC, "Status", {100, 19, 62, 8}},
            {Kind::Edit, IDC_50CHK_STATUS, "", {100, 29, 62, 13}, kReadout},
            {Kind::Text, IDC_STATIC, "Expansion Status", {100, 49, 66, 8}},
            {Kind::Edit, IDC_50CHK_STATUS2, "", {100, 59, 62, 13}, kReadout},
            {Kind::Edit, IDC_50CHK_SPARE, "", {100, 81, 62, 13}, es::ReadOnly | es::AutoHScroll},
            {Kind::PushButton, IDC_50CHK_REFRESH, "Reflesh", {120, 113, 50, 14}, cs::TabStop},
        },
    };
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
    static const DialogTemplate dialog{
        IDD_CMD50_MEM,
        "",
        {0, 0, 132, 136},
        ds::Child,
        8,
        "",
        {
            {Kind::GroupBox, IDC_STATIC, "Memory Bank", {7, 7, 118, 72}},
            {Kind::RadioButton,
             IDC_50MEM_BANK0,
             "Bank 0",
             {16, 20, 60, 10},
             cs::Group | cs::TabStop},
            {Kind::RadioButton, IDC_50MEM_BANK1, "Bank 1", {16, 34, 60, 10}},
            {Kind::RadioButton, IDC_50MEM_BANK2, "Bank 2", {16, 48, 60, 10}},
            {Kind::RadioButton, IDC_50MEM_BANK3, "Bank 3", {16, 62, 60, 10}},
            {Kind::PushButton, IDC_50MEM_SAVE, "Save", {7, 88, 36, 14}, cs::Group | cs::TabStop},
            {Kind::PushButton, IDC_50MEM_LOAD, "Load", {48, 88, 36, 14}, cs::TabStop},
            {Kind::PushButton, IDC_50MEM_RESET, "Reset", {89, 88, 36, 14}, cs::TabStop},
        },
    };
    return dialog;
}

const DialogTemplate& ShatterTemplate()
{
    static const DialogTemplate dialog{
        IDD_CMD50_SHATTER,
        "",
        {0, 0, 257, 155},
        ds::Child,
        8,
        "",
        {
            {Kind::GroupBox, IDC_STATIC, "Shutter Speed", {7, 7, 80, 34}},
            {Kind::ComboBox,
             IDC_50SHUT_SPEED,
             "",
             {14, 19, 66, 100},
             cbs::DropDown | cs::TabStop,
             {"2047", "1250", "625", "312", "156", "78", "39", "10", "0"}},
            {Kind::GroupBox, IDC_STATIC, "Scan Mode", {7, 45, 80, 40}},
            {Kind::CheckBox, IDC_50SHUT_DRAFT, "Draft(on/off)", {14, 57, 68, 10}, cs::TabStop},
            {Kind::CheckBox, IDC_50SHUT_PARTIAL, "Partial(on/off)", {14, 70, 68, 10}, cs::TabStop},
            {Kind::GroupBox, IDC_STATIC, "Bit Depth", {7, 89, 80, 52}},
            {Kind::RadioButton,
             IDC_50SHUT_8BIT,
             "8bit",
             {14, 101, 60, 10},
             cs::Group | cs::TabStop},
            {Kind::RadioButton, IDC_50SHUT_10BIT, "10bit", {14, 114, 60, 10}},
            {Kind::RadioButton, IDC_50SHUT_12BIT, "12bit", {14, 127, 60, 10}},
            {Kind::GroupBox, IDC_STATIC, "Trigger Mode", {93, 7, 76, 34}, cs::Group},
            {Kind::CheckBox, IDC_50SHUT_RANDOM, "Random/Normal", {100, 21, 66, 10}, cs::TabStop},
            {Kind::GroupBox, IDC_STATIC, "Polarity", {93, 45, 76, 34}},
            {Kind::CheckBox, IDC_50SHUT_POSI, "Posi/Nega", {100, 59, 66, 10}, cs::TabStop},
            {Kind::GroupBox, IDC_STATIC, "Pulse Mode", {93, 89, 76, 34}},
            {Kind::CheckBox, IDC_50SHUT_PULSE, "Pulse/Fix", {100, 103, 66, 10}, cs::TabStop},
            {Kind::GroupBox, IDC_STATIC, "Multiple Mode", {175, 7, 76, 34}},
            {Kind::CheckBox, IDC_50SHUT_MULTIPLE, "On/Off", {182, 21, 60, 10}, cs::TabStop},
            {Kind::PushButton, IDC_50SHUT_REFRESH, "Refresh", {148, 134, 50, 14}, cs::TabStop},
            {Kind::PushButton, IDC_50SHUT_APPLY, "Apply", {202, 134, 50, 14}, cs::TabStop},
        },
    };
    return dialog;
}

const DialogTemplate& RegisterTemplate()
{
    static const DialogTemplate dialog{
        IDD_CMD50_REGISTER,
        "",
        {0, 0, 165, 136},
        ds::Child,
        8,
        "",
        {
            {Kind::Text, IDC_STATIC, "Address", {14, 16, 40, 8}},
            {Kind::Edit, IDC_50REG_ADDRESS, "", {70, 14, 60, 13}, es::AutoHScroll | cs::TabStop},
            {Kind::Text, IDC_STATIC, "Data", {14, 36, 40, 8}},
            {Kind::Edit, IDC_50REG_DATA, "", {70, 34, 60, 13}, es::AutoHScroll | cs::TabStop},
            {Kind::PushButton, IDC_50REG_READ, "Read", {14, 58, 50, 14}, cs::TabStop},
            {Kind::PushButton, IDC_50REG_WRITE, "Write", {80, 58, 50, 14}, cs::TabStop},
            {Kind::Text, IDC_STATIC, "Status", {14, 86, 40, 8}},
            {Kind::Edit, IDC_50REG_STATUS, "", {14, 96, 140, 13}, es::ReadOnly | es::AutoHScroll},
        },
    };
    return dialog;
}

} // namespace

std::vector<const DialogTemplate*> Rv1250PageTemplates()
{
    return {&InfoTemplate(), &SelfChkTemplate(), &UsrGainTemplate(),
            &MemTemplate(),  &ShatterTemplate(), &RegisterTemplate()};
}

} // namespace res
