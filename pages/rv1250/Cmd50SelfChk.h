// RV1250LX "SelfCheck": four of the error bits and the two status bytes. Bits 6, 4, 1 and 0
// are read with the others but have no box on this model.
#pragma once

#include "pages/common/SelfChkPage.h"

class CCmd50SelfChk : public pages::CSelfChkPage {
public:
    explicit CCmd50SelfChk(pages::MapSlot<CRVXReg> map);
};
