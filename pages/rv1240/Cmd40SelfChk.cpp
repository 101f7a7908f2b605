#include "pages/rv1240/Cmd40SelfChk.h"

#include "res/Resource.h"
#include "res/ids/Rv1240.h"

#include <utility>

CCmd40SelfChk::CCmd40SelfChk(pages::MapSlot<CRVXReg> map)
    : pages::CSelfChkPage(IDD_CMD40_SELFCHK,
                          {IDC_40CHK_REFRESH,
                           IDC_40CHK_STATUS,
                           IDC_40CHK_STATUS2,
                           {{IDC_40CHK_INITIALIZE, 7},
                            {IDC_40CHK_AFE, 6},
                            {IDC_40CHK_UART, 5},
                            {IDC_40CHK_PLD, 4},
                            {IDC_40CHK_I2C, 3},
                            {IDC_40CHK_EEPROM, 2},
                            {IDC_40CHK_RAM, 1},
                            {IDC_40CHK_ROM, 0}}},
                          std::move(map))
{
}
