#include "app/StartupPort.h"

#include "app/CommSetup.h"

#include "comm/ComIF.h"
#include "platform/profile/Profile.h"

bool StoredPortChosen(CComIF& comIF)
{
    const profile::Batch batch;
    const int storedType = profile::GetProfileInt(kCommSection, "Port type", -1);
    if (storedType == PORT_CAMERALINK)
        // An empty stored identity would match any grabber's first port.
        return comIF.PortType == PORT_CAMERALINK && comIF.m_Cas.m_nPortIndex >= 0 &&
               !profile::GetProfileString(kCommSection, "LastCasPortID", "").empty();
    if (storedType == PORT_RS232C)
        return comIF.PortType == PORT_RS232C &&
               !profile::GetProfileString(kCommSection, "Port Name", "").empty();
    return false;
}

void OpenPortAtStartUp(CComIF& comIF)
{
    if (StoredPortChosen(comIF) && comIF.Open())
        return;
    ShowCommSetup(comIF, SetupCancel::OpenStoredPort);
}
