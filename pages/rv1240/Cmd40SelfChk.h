// RV1240DLX "SelfCheck": all eight error bits and the two status bytes.
#pragma once

#include "pages/common/SelfChkPage.h"

class CCmd40SelfChk : public pages::CSelfChkPage {
public:
    explicit CCmd40SelfChk(pages::MapSlot<CRVXReg> map);
};
