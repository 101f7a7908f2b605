#include "pages/rvqm52/Cmd52BMem.h"

#include "res/Resource.h"
#include "res/ids/Rvqm52.h"

CCmd52BMem::CCmd52BMem()
    : pages::CMemPage(
          IDD_CMD52B_MEM,
          {IDC_52MEM_BANK0, IDC_52MEM_BANK3, IDC_52MEM_SAVE, IDC_52MEM_LOAD, IDC_52MEM_RESET},
          &CVireoApp::m_pBaseRegQM52)
{
}
