// Puts the application's three register maps on a port facade for the object's lifetime (a
// simulated camera's link, in tests), and takes them away again.
#pragma once

#include "camera/RVQM52BM14Reg.h"
#include "camera/RVX1240Reg.h"
#include "camera/RVX1250Reg.h"

class CComIF;

namespace testing_support {

class ScopedAppMaps {
public:
    explicit ScopedAppMaps(CComIF* link);
    ~ScopedAppMaps();
    ScopedAppMaps(const ScopedAppMaps&) = delete;
    ScopedAppMaps& operator=(const ScopedAppMaps&) = delete;

private:
    CRVX1240Reg m_reg1240;
    CRVX1250Reg m_reg1250;
    CRVQM52BM14Reg m_regQM52;
};

} // namespace testing_support
