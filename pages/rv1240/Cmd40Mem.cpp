#include "pages/rv1240/Cmd40Mem.h"

#include "res/Resource.h"
#include "res/ids/Rv1240.h"

#include <utility>

CCmd40Mem::CCmd40Mem(pages::MapSlot<CRVXReg> map)
    : pages::CMemPage(IDD_CMD40_MEM,
                      {IDC_40MEM_BANK0, IDC_40MEM_BANK3, IDC_40MEM_SAVE, IDC_40MEM_LOAD,
                       IDC_40MEM_RESET, IDC_40MEM_DONE},
                      std::move(map))
{
}
