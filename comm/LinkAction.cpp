#include "comm/LinkAction.h"

CLinkAction::CLinkAction(CComIF& port) : m_port(port)
{
    m_port.BeginAction();
}

CLinkAction::~CLinkAction()
{
    m_port.EndAction();
}

const CResult& CLinkAction::Failure() const
{
    return m_port.Action().failure;
}

int CLinkAction::Exchanges() const
{
    return m_port.Action().exchanges;
}

int CLinkAction::Skipped() const
{
    return m_port.Action().skipped;
}

CLinkRecovery::CLinkRecovery(CComIF& port) : m_port(port)
{
    m_port.BeginRecovery();
}

CLinkRecovery::~CLinkRecovery()
{
    m_port.EndRecovery();
}
