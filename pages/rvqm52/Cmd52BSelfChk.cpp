#include "pages/rvqm52/Cmd52BSelfChk.h"

#include "res/Resource.h"
#include "res/ids/Rvqm52.h"

CCmd52BSelfChk::CCmd52BSelfChk()
    : pages::CSelfChkPage(IDD_CMD52B_SELFCHK,
                          {IDC_52CHK_REFRESH,
                           IDC_52CHK_STATUS,
                           IDC_52CHK_STATUS2,
                           {{IDC_52CHK_INITIALIZE, 7},
                            {IDC_52CHK_UART, 5},
                            {IDC_52CHK_I2C, 3},
                            {IDC_52CHK_EEPROM, 2}}},
                          &CVireoApp::m_pBaseRegQM52)
{
}
