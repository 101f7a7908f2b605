// RV1240DLX "Register": raw register read and write.
#pragma once

#include "pages/common/RegisterPage.h"

class CCmd40Register : public pages::CRegisterPage {
public:
    explicit CCmd40Register(pages::MapSlot<CRVXReg> map);
};
