#include "comm/ComIF.h"

#include "platform/profile/Profile.h"

CComIF g_ComIF;

CComIF::CComIF()
{
    // The ports read the same stored values as the facade, which reports for all three.
    m_Cas.m_bReportSettingProblems = false;
    m_Rs232c.m_bReportSettingProblems = false;
    m_Cas.ShareCancel(Cancel());
    m_Rs232c.ShareCancel(Cancel());
}

CComIF::~CComIF() = default;

int CComIF::LoadSettings()
{
    const profile::Batch batch;
    PortType = profile::GetProfileInt(kCommSection, "Port type", PORT_CAMERALINK);
    return CCom::LoadSettings();
}

void CComIF::SaveSettings()
{
    profile::WriteProfileInt(kCommSection, "Port type", PortType);
    CCom::SaveSettings();
}

int CComIF::Initialize()
{
    SetWindowLoggingFlag(true);
    // Every port's settings from one store.
    const profile::Batch batch;
    LoadSettings();
    m_Cas.Initialize();
    m_Rs232c.Initialize();
    return 1;
}

int CComIF::Open()
{
    m_Cas.Close();
    // An RS-232C port that was never opened has no close to record.
    if (m_Rs232c.HasDevice())
        m_Rs232c.Close();
    switch (PortType) {
    case PORT_RS232C:
        return m_Rs232c.Open();
    case PORT_CAMERALINK:
        return m_Cas.Open();
    default:
        return 0;
    }
}

int CComIF::Close()
{
    switch (PortType) {
    case PORT_RS232C:
        return m_Rs232c.Close();
    case PORT_CAMERALINK:
        return m_Cas.Close();
    default:
        return 0;
    }
}

std::string CComIF::OpenProblem() const
{
    return PortType == PORT_CAMERALINK ? m_Cas.OpenProblem() : m_Rs232c.OpenProblem();
}

int CComIF::IsOpen()
{
    return m_Cas.IsOpen() ? 1 : m_Rs232c.IsOpen();
}

bool CComIF::PortOpen()
{
    return m_Cas.IsOpen() != 0 || m_Rs232c.HasDevice();
}

CResult CComIF::SendReceive(const char* request, char* reply, std::size_t replySize)
{
    if (m_action.depth == 0) {
        CResult result = Exchange(request, reply, replySize);
        if (m_notice.empty())
            m_notice = result.Notice();
        return result;
    }
    // A cancel between two exchanges ends the action as one during a wait does.
    if (m_action.failure.Ok() && Cancel().Requested())
        m_action.failure = LINK_CANCELLED;
    if (m_action.failure.Failed()) {
        ++m_action.skipped;
        if (replySize > 0)
            reply[0] = '\0';
        // The failure is told once, by the exchange that met it.
        return m_action.failure.WithNotice({});
    }
    ++m_action.exchanges;
    CResult result = Exchange(request, reply, replySize);
    if (result.Failed()) {
        m_action.failure = result;
        if (m_notice.empty())
            m_notice = result.Notice();
    }
    return result;
}

void CComIF::BeginAction()
{
    if (m_action.depth++ > 0)
        return;
    m_action = ActionState{};
    m_action.depth = 1;
    m_notice.clear();
    Cancel().Clear();
    // A device that went away is looked for once at the start of each action.
    if (PortType != PORT_RS232C || !m_Rs232c.PortLost())
        return;
    const bool reopened = m_Rs232c.ReopenIfLost() != 0;
    if (!m_lostPortCheck)
        return;
    const CResult checked = m_lostPortCheck(reopened);
    // What the check sent is not the action's: the action starts afresh, or not at all.
    m_action = ActionState{};
    m_action.depth = 1;
    m_notice.clear();
    if (checked.Failed()) {
        m_action.failure = checked;
        m_notice = checked.Notice();
    }
}

void CComIF::BeginRecovery()
{
    if (m_action.depth == 0 || m_setAside)
        return;
    m_setAside = m_action.failure;
    m_action.failure = CResult();
    Cancel().Clear();
}

void CComIF::EndRecovery()
{
    if (!m_setAside)
        return;
    if (m_setAside->Failed())
        m_action.failure = *m_setAside;
    m_setAside.reset();
}

void CComIF::EndAction()
{
    if (m_action.depth == 0 || --m_action.depth > 0)
        return;
    if (m_action.failure.Kind() == ResultKind::Cancelled)
        AddLogRecord(
            FormatText("Cancelled by the user: %d exchanges skipped\r", m_action.skipped).c_str(),
            LOG_STATUS);
    else if (m_action.skipped > 0)
        AddLogRecord(FormatText("Link error %d: %d exchanges skipped\r", m_action.failure.Code(),
                                m_action.skipped)
                         .c_str(),
                     LOG_STATUS);
    Cancel().Clear();
}

CResult CComIF::Exchange(const char* request, char* reply, std::size_t replySize)
{
    switch (PortType) {
    case PORT_RS232C:
        return m_Rs232c.SendReceive(request, reply, replySize);
    case PORT_CAMERALINK:
        return m_Cas.SendReceive(request, reply, replySize);
    default:
        AddLogRecord(FormatText("No port for Port type %d\r", PortType).c_str(), LOG_STATUS);
        if (replySize > 0)
            reply[0] = '\0';
        return LINK_NO_PORT;
    }
}

void CComIF::ChoosePort(const PortChoice& choice)
{
    m_Settings = choice.settings;
    if (!choice.cameraLinkIndex) {
        PortType = PORT_RS232C;
        m_Rs232c.m_Settings = m_Settings;
        return;
    }
    PortType = PORT_CAMERALINK;
    // Initialize loads the grabber's stored values; the choice then overrides them.
    m_Cas.Initialize();
    m_Cas.m_Settings = m_Settings;
    m_Cas.SelectPort(*choice.cameraLinkIndex);
    if (choice.cameraLinkBaud)
        m_Cas.m_nBaudRate = *choice.cameraLinkBaud;
}

void CComIF::ApplySetup(const CComSettings& settings, int casPortIndex, int portType)
{
    m_Settings = settings;
    m_Rs232c.m_Settings = settings;
    PortType = portType;
    m_Rs232c.SaveSettings();
    m_Cas.m_Settings = m_Settings;
    m_Cas.SelectPort(casPortIndex);
    m_Cas.SaveSettings();
    SaveSettings();
}

void CComIF::SetWindowLogging(bool on)
{
    m_Cas.SetWindowLoggingFlag(on);
    m_Rs232c.SetWindowLoggingFlag(on);
}

std::string SelectedPortName(const CComIF& comIF)
{
    if (comIF.PortType == PORT_CAMERALINK)
        return "cl:" + std::to_string(comIF.m_Cas.m_nPortIndex);
    return comIF.m_Rs232c.m_Settings.PortName;
}
