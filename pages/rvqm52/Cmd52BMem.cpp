#include "pages/rvqm52/Cmd52BMem.h"

#include "res/Resource.h"
#include "res/ids/Rvqm52.h"

#include <utility>

CCmd52BMem::CCmd52BMem(pages::MapSlot<CRVXReg> map)
    : pages::CMemPage(IDD_CMD52B_MEM,
                      {IDC_52MEM_BANK0, IDC_52MEM_BANK3, IDC_52MEM_SAVE, IDC_52MEM_LOAD,
                       IDC_52MEM_RESET, IDC_52MEM_DONE},
                      std::move(map))
{
}
