#include "pages/rv1250/Cmd50Info.h"

#include "res/Resource.h"
#include "res/ids/Rv1250.h"

#include <utility>

CCmd50Info::CCmd50Info(pages::MapSlot<CRVXReg> map)
    : pages::CInfoPage(IDD_CMD50_INFO,
                       {IDC_50INFO_REFRESH, IDC_50INFO_VENDOR, IDC_50INFO_MODEL, IDC_50INFO_SERIAL,
                        IDC_50INFO_CPU},
                       std::move(map))
{
}
