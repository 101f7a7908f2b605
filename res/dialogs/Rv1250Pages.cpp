// The RV1250LX setting pages: identity, self-check, user gain, memory banks, shutter and raw
// register access.
#include "res/Templates.h"
#include "res/dialogs/CommonPages.h"

#include "res/Resource.h"
#include "res/ids/Rv1250.h"

namespace res {

using namespace ui;

namespace {

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
    static const DialogTemplate dialog = GainPage(
        IDD_CMD50_USRGAIN,
        {"Clamp Level", IDC_50GAIN_CLAMP_BAR, IDC_50GAIN_CLAMP_HEX, 0, nullptr, "0", "0x1F"},
        {"Gain", IDC_50GAIN_GAIN_BAR, IDC_50GAIN_GAIN_HEX, 0, nullptr, "0", "0x1FF"},
        IDC_50GAIN_REFRESH, IDC_50GAIN_APPLY);
    return dialog;
}

const DialogTemplate& MemTemplate()
{
    static const DialogTemplate dialog =
        MemoryPage(IDD_CMD50_MEM, {IDC_50MEM_BANK0, IDC_50MEM_SAVE, IDC_50MEM_LOAD, IDC_50MEM_RESET,
                                   IDC_50MEM_DONE, "Bank "});
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
