// RVQM52 "Register": raw register read and write. Serves both RVQM52 models.
#pragma once

#include "pages/common/RegisterPage.h"

class CCmd52BRegister : public pages::CRegisterPage {
public:
    explicit CCmd52BRegister(pages::MapSlot<CRVXReg> map);
};
