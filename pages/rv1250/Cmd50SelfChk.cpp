#include "pages/rv1250/Cmd50SelfChk.h"

#include "res/Resource.h"
#include "res/ids/Rv1250.h"

#include <utility>

CCmd50SelfChk::CCmd50SelfChk(pages::MapSlot<CRVXReg> map)
    : pages::CSelfChkPage(IDD_CMD50_SELFCHK,
                          {IDC_50CHK_REFRESH,
                           IDC_50CHK_STATUS,
                           IDC_50CHK_STATUS2,
                           {{IDC_50CHK_INITIALIZE, 7},
                            {IDC_50CHK_UART, 5},
                            {IDC_50CHK_I2C, 3},
                            {IDC_50CHK_EEPROM, 2}}},
                          std::move(map))
{
}
