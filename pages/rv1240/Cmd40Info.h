// RV1240DLX "Info": the camera's identity texts.
#pragma once

#include "pages/common/InfoPage.h"

class CCmd40Info : public pages::CInfoPage {
public:
    explicit CCmd40Info(pages::MapSlot<CRVXReg> map);
};
