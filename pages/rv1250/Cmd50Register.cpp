#include "pages/rv1250/Cmd50Register.h"

#include "res/Resource.h"
#include "res/ids/Rv1250.h"

#include <utility>

CCmd50Register::CCmd50Register(pages::MapSlot<CRVXReg> map)
    : pages::CRegisterPage(
          IDD_CMD50_REGISTER,
          {IDC_50REG_ADDRESS, IDC_50REG_DATA, IDC_50REG_READ, IDC_50REG_WRITE, IDC_50REG_STATUS},
          std::move(map))
{
}
