// RVQM52 "SelfCheck": four of the error bits and the two status bytes. Serves both RVQM52
// models.
#pragma once

#include "pages/common/SelfChkPage.h"

class CCmd52BSelfChk : public pages::CSelfChkPage {
public:
    explicit CCmd52BSelfChk(pages::MapSlot<CRVXReg> map);
};
