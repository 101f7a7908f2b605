// RV1250LX "Memory": the four user memory banks.
#pragma once

#include "pages/common/MemPage.h"

class CCmd50Mem : public pages::CMemPage {
public:
    explicit CCmd50Mem(pages::MapSlot<CRVXReg> map);
};
