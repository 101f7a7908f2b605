#include "pages/rv1250/Cmd50Register.h"

#include "res/Resource.h"
#include "res/ids/Rv1250.h"

CCmd50Register::CCmd50Register()
    : pages::CRegisterPage(
          IDD_CMD50_REGISTER,
          {IDC_50REG_ADDRESS, IDC_50REG_DATA, IDC_50REG_READ, IDC_50REG_WRITE, IDC_50REG_STATUS},
          &CVireoApp::m_pBaseReg1250)
{
}
