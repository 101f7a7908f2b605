// The one port facade of the program: holds one port of each kind and forwards every operation
// to the kind its port type selects.
#pragma once

#include "comm/Cas.h"
#include "comm/Com.h"
#include "comm/Rs232c.h"

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
    int Open() override;
    int Close() override;
    int IsOpen() override;
    int SendReceive(const char* request, char* reply, std::size_t replySize) override;

    // What a cancelled setup dialog does: keep the port as it is (the menu command), or open
    // the port of the settings loaded (start-up).
    enum class SetupCancel { KeepPort, OpenStoredPort };
    // Runs the setup dialog; on OK applies, stores and reopens. Returns 0, or 263 when the
    // (re)open failed.
    int ShowSetupDialog(SetupCancel onCancel = SetupCancel::KeepPort);
    // Window logging of the two ports (not of the facade itself).
    void SetWindowLogging(bool on);

    CCas m_Cas;
    CRs232c m_Rs232c;
    int PortType = PORT_RS232C;

private:
    // Runs the dialog once; on OK applies the choice and stores it. True for OK.
    bool RunSetupDialog();
    // Closes both ports and opens the selected one, asking nothing.
    int OpenSelectedPort();
};

extern CComIF g_ComIF;
