// RVQM52 "Memory": the four user memory banks. Serves both RVQM52 models.
#pragma once

#include "pages/common/MemPage.h"

class CCmd52BMem : public pages::CMemPage {
public:
    explicit CCmd52BMem(pages::MapSlot<CRVXReg> map);
};
