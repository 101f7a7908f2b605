#include "pages/rv1250/Cmd50Info.h"

#include "res/Resource.h"
#include "res/ids/Rv1250.h"

CCmd50Info::CCmd50Info()
    : pages::CInfoPage(IDD_CMD50_INFO,
                       {IDC_50INFO_REFRESH, IDC_50INFO_VENDOR, IDC_50INFO_MODEL, IDC_50INFO_SERIAL,
                        IDC_50INFO_CPU},
                       &CVireoApp::m_pBaseReg1250)
{
}
