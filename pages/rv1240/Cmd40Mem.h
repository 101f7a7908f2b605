// RV1240DLX "Memory": the four user memory banks.
#pragma once

#include "pages/common/MemPage.h"

class CCmd40Mem : public pages::CMemPage {
public:
    explicit CCmd40Mem(pages::MapSlot<CRVXReg> map);
};
