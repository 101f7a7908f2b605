#include "pages/rvqm52/Cmd52BSelfChk.h"

#include "res/Resource.h"
#include "res/ids/Rvqm52.h"

#include <utility>

CCmd52BSelfChk::CCmd52BSelfChk(pages::MapSlot<CRVXReg> map)
    : pages::CSelfChkPage(IDD_CMD52B_SELFCHK,
                          {IDC_52CHK_REFRESH,
                           IDC_52CHK_STATUS,
                           IDC_52CHK_STATUS2,
                           {{IDC_52CHK_INITIALIZE, 7},
                            {IDC_52CHK_UART, 5},
                            {IDC_52CHK_I2C, 3},
                            {IDC_52CHK_EEPROM, 2}}},
                          std::move(map))
{
}
