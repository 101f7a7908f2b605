// The RV1240DLX setting pages: identity, self-check, user gain, memory banks, shutter and raw
// register access.
#include "res/Templates.h"
#include "res/dialogs/CommonPages.h"

#include "res/Resource.h"
#include "res/ids/Rv1240.h"

namespace res {

using namespace ui;

namespace {

const DialogTemplate& InfoTemplate()
{
    static const DialogTemplate dialog =
        IdentityPage(IDD_CMD40_INFO, "Infomation",
                     {IDC_40INFO_VENDOR, IDC_40INFO_MODEL, IDC_40INFO_SERIAL, IDC_40INFO_CPU, 0,
                      IDC_40INFO_REFRESH});
    return dialog;
}

const DialogTemplate& SelfChkTemplate()
{
    static const DialogTemplate dialog = SelfCheckPage(IDD_CMD40_SELFCHK, 146,
                                                       {{{IDC_40CHK_INITIALIZE, "Initialize"},
                                                         {IDC_40CHK_AFE, "AFE"},
                                                         {IDC_40CHK_UART, "UART"},
                                                         {IDC_40CHK_PLD, "PLD"},
                                                         {IDC_40CHK_I2C, "I2C"},
                                                         {IDC_40CHK_EEPROM, "EEPROM"},
                                                         {IDC_40CHK_RAM, "RAM"},
                                                         {IDC_40CHK_ROM, "ROM"}},
                                                        IDC_40CHK_STATUS,
                                                        IDC_40CHK_STATUS2,
                                                        IDC_40CHK_SPARE,
                                                        false,
                                                        IDC_40CHK_REFRESH});
    return dialog;
}

const DialogTemplate& UsrGainTemplate()
{
    static const DialogTemplate dialog = GainPage(
        IDD_CMD40_USRGAIN,
        {"Output Offset", IDC_40GAIN_OFFSET_BAR, 0, IDC_40GAIN_OFFSET_DEC, nullptr, "-512", "511"},
        {"Gain(PLD_Gain)", IDC_40GAIN_GAIN_BAR, IDC_40GAIN_GAIN_HEX, 0, nullptr, "0", "0xFF"},
        IDC_40GAIN_REFRESH, IDC_40GAIN_APPLY);
    return dialog;
}

const DialogTemplate& MemTemplate()
{
    static const DialogTemplate dialog =
        MemoryPage(IDD_CMD40_MEM, {IDC_40MEM_BANK0, IDC_40MEM_SAVE, IDC_40MEM_LOAD, IDC_40MEM_RESET,
                                   IDC_40MEM_DONE, "Bank"});
    return dialog;
}

const DialogTemplate& ShatterTemplate()
{
    static const DialogTemplate dialog = ShutterPage(
        IDD_CMD40_SHATTER, {IDC_40SHUT_SPEED,
                            {"255", "223", "168", "149", "85", "48", "29", "13", "5", "0"},
                            IDC_40SHUT_DRAFT,
                            IDC_40SHUT_PARTIAL,
                            IDC_40SHUT_8BIT,
                            IDC_40SHUT_RANDOM,
                            0,
                            IDC_40SHUT_POSI,
                            IDC_40SHUT_PULSE,
                            IDC_40SHUT_MULTIPLE,
                            IDC_40SHUT_SHUTTER,
                            IDC_40SHUT_REFRESH,
                            IDC_40SHUT_APPLY});
    return dialog;
}

const DialogTemplate& RegisterTemplate()
{
    static const DialogTemplate dialog =
        RegisterPage(IDD_CMD40_REGISTER, {IDC_40REG_ADDRESS, IDC_40REG_DATA, IDC_40REG_READ,
                                          IDC_40REG_WRITE, IDC_40REG_STATUS, true});
    return dialog;
}

} // namespace

std::vector<const DialogTemplate*> Rv1240PageTemplates()
{
    return {&InfoTemplate(), &SelfChkTemplate(), &UsrGainTemplate(),
            &MemTemplate(),  &ShatterTemplate(), &RegisterTemplate()};
}

} // namespace res
