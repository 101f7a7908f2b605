#include "pages/rv1240/Cmd40Info.h"

#include "res/Resource.h"
#include "res/ids/Rv1240.h"

#include <utility>

CCmd40Info::CCmd40Info(pages::MapSlot<CRVXReg> map)
    : pages::CInfoPage(IDD_CMD40_INFO,
                       {IDC_40INFO_REFRESH, IDC_40INFO_VENDOR, IDC_40INFO_MODEL, IDC_40INFO_SERIAL,
                        IDC_40INFO_CPU},
                       std::move(map))
{
}
