// The one port facade of the program: holds one port of each kind and forwards every operation
// to the kind its port type selects.
#pragma once

#include "comm/Cas.h"
#include "comm/Com.h"
#include "comm/Rs232c.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>

enum PortKind : int {
    PORT_RS232C = 0,
    PORT_CAMERALINK = 1,
};

class CComIF : public CCom {
public:
    CComIF();
    ~CComIF() override;

    int LoadSettings() override;
    void SaveSettings() override;
    int Initialize() override;
    // Closes both ports and opens the selected one, asking nothing.
    int Open() override;
    int Close() override;
    int IsOpen() override;
    // Whether a port is open, leaving no record: the window asks this before each read.
    bool PortOpen();
    // Why the selected port's last Open failed, in words.
    std::string OpenProblem() const;
    CResult SendReceive(const char* request, char* reply, std::size_t replySize) override;

    // Applies a choice of the setup dialog (settings, grabber port, port kind) and stores it;
    // the port is not reopened.
    void ApplySetup(const CComSettings& settings, int casPortIndex, int portType);
    // A port chosen without the setup dialog, for one run of a program: the settings (as loaded,
    // with the run's own values) and a grabber port, else the RS-232C port the settings name.
    // Nothing is stored.
    struct PortChoice {
        CComSettings settings;
        std::optional<int> cameraLinkIndex;
        std::optional<int> cameraLinkBaud; // the grabber port's rate, when not the stored one
    };
    void ChoosePort(const PortChoice& choice);

    // Window logging of the two ports (not of the facade itself).
    void SetWindowLogging(bool on);

    // The running user action (see CLinkAction). It belongs to the thread that runs the
    // exchanges, as the ports do.
    struct ActionState {
        int depth = 0;     // nested scopes; 0 outside any action
        CResult failure;   // the first link failure
        int exchanges = 0; // sent so far
        int skipped = 0;   // not sent after the failure
    };
    void BeginAction();
    void EndAction();
    // Putting back what the action changed (see CLinkRecovery): the action's failure is set
    // aside and a cancel cleared, so the recovery's exchanges go out; ended, the first failure
    // of the action stands again.
    void BeginRecovery();
    void EndRecovery();
    // Called at the start of an action whose RS-232C port was found lost, with whether it was
    // opened again; a camera there may not be the one that was. A failure it returns ends the
    // action before anything of it is sent.
    using LostPortCheck = std::function<CResult(bool reopened)>;
    void SetLostPortCheck(LostPortCheck check) { m_lostPortCheck = std::move(check); }
    const ActionState& Action() const { return m_action; }
    // The user's cancel of the running action on this port: from any thread.
    void RequestCancel() { Cancel().Request(); }
    // The notice of the first failure since the last take (or since the action began) that the
    // user must act on; empty when none. The place where the action ends shows it, once.
    std::string TakeNotice() { return std::exchange(m_notice, {}); }

    CCas m_Cas;
    CRs232c m_Rs232c;
    int PortType = PORT_RS232C;

private:
    CResult Exchange(const char* request, char* reply, std::size_t replySize);

    LostPortCheck m_lostPortCheck;

    ActionState m_action;
    std::optional<CResult> m_setAside; // the action's failure while a recovery runs
    std::string m_notice;
};

extern CComIF g_ComIF;

// The selected port as a command line names it: the RS-232C device, or cl:INDEX.
std::string SelectedPortName(const CComIF& comIF);
