#include "pages/rv1240/Cmd40Register.h"

#include "res/Resource.h"
#include "res/ids/Rv1240.h"

#include <utility>

CCmd40Register::CCmd40Register(pages::MapSlot<CRVXReg> map)
    : pages::CRegisterPage(
          IDD_CMD40_REGISTER,
          {IDC_40REG_ADDRESS, IDC_40REG_DATA, IDC_40REG_READ, IDC_40REG_WRITE, IDC_40REG_STATUS},
          std::move(map))
{
}
