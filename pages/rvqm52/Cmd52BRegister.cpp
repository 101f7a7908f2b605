#include "pages/rvqm52/Cmd52BRegister.h"

#include "res/Resource.h"
#include "res/ids/Rvqm52.h"

#include <utility>

CCmd52BRegister::CCmd52BRegister(pages::MapSlot<CRVXReg> map)
    : pages::CRegisterPage(
          IDD_CMD52B_REGISTER,
          {IDC_52REG_ADDRESS, IDC_52REG_DATA, IDC_52REG_READ, IDC_52REG_WRITE, IDC_52REG_STATUS},
          std::move(map))
{
}
