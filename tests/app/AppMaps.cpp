#include "tests/app/AppMaps.h"

#include "app/VireoApp.h"

namespace testing_support {

ScopedAppMaps::ScopedAppMaps(CComIF* link) : m_reg1240(link), m_reg1250(link), m_regQM52(link)
{
    theApp.m_pReg1240 = &m_reg1240;
    theApp.m_pReg1250 = &m_reg1250;
    theApp.m_pRegQM52 = &m_regQM52;
    theApp.m_pBaseReg1240 = &m_reg1240;
    theApp.m_pBaseReg1250 = &m_reg1250;
    theApp.m_pBaseRegQM52 = &m_regQM52;
}

ScopedAppMaps::~ScopedAppMaps()
{
    theApp.m_pReg1240 = nullptr;
    theApp.m_pReg1250 = nullptr;
    theApp.m_pRegQM52 = nullptr;
    theApp.m_pBaseReg1240 = nullptr;
    theApp.m_pBaseReg1250 = nullptr;
    theApp.m_pBaseRegQM52 = nullptr;
}

} // namespace testing_support
