// RV1250LX "Register": raw register read and write.
#pragma once

#include "pages/common/RegisterPage.h"

class CCmd50Register : public pages::CRegisterPage {
public:
    explicit CCmd50Register(pages::MapSlot<CRVXReg> map);
};
