// RV1250LX "Info": the camera's identity texts.
#pragma once

#include "pages/common/InfoPage.h"

class CCmd50Info : public pages::CInfoPage {
public:
    explicit CCmd50Info(pages::MapSlot<CRVXReg> map);
};
