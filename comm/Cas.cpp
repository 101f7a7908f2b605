#include "comm/Cas.h"

// No grabber support yet: a port that never finds a Camera Link port.
int CCas::Initialize()
{
    m_nPortCount = 0;
    AddLogRecord("There is no CL port. ", LOG_STATUS);
    return 0;
}

int CCas::Open()
{
    AddLogRecord("Port Open Failure Invalid Port No.", LOG_STATUS);
    return 0;
}

int CCas::Close() { return 1; }

int CCas::IsOpen() { return m_hSerRef != nullptr; }

int CCas::SendReceive(const char*, char*, std::size_t) { return LINK_NO_PORT; }

int CCas::SelectPort(int index)
{
    if (index < 0)
        return 0;
    m_nPortIndex = index;
    return static_cast<std::uint32_t>(index) < m_nPortCount ? 1 : 0;
}

int CCas::GetPortManufacturer(int, char*) { return 0; }

int CCas::GetPortId(int, char*) { return 0; }
