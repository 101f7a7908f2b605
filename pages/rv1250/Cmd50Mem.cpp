#include "pages/rv1250/Cmd50Mem.h"

#include "res/Resource.h"
#include "res/ids/Rv1250.h"

#include <utility>

CCmd50Mem::CCmd50Mem(pages::MapSlot<CRVXReg> map)
    : pages::CMemPage(IDD_CMD50_MEM,
                      {IDC_50MEM_BANK0, IDC_50MEM_BANK3, IDC_50MEM_SAVE, IDC_50MEM_LOAD,
                       IDC_50MEM_RESET, IDC_50MEM_DONE},
                      std::move(map))
{
}
