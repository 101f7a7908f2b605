// One user action (a press, a tab switch, a page show with its refresh, one command) as the
// port sees it: after the first link failure the rest of its exchanges are not sent and return
// the same result at once, so the user hears of the failure once. Nothing outlives the action.
#pragma once

#include "comm/ComIF.h"

class CLinkAction {
public:
    // Scopes nest: an inner one joins the action of the outermost.
    explicit CLinkAction(CComIF& port = g_ComIF);
    ~CLinkAction();
    CLinkAction(const CLinkAction&) = delete;
    CLinkAction& operator=(const CLinkAction&) = delete;

    // The first failure, success while none.
    const CResult& Failure() const;
    // Exchanges sent, and exchanges skipped after the failure, so far.
    int Exchanges() const;
    int Skipped() const;

private:
    CComIF& m_port;
};

// Inside an action that failed or was cancelled, the exchanges that put the camera back as it
// was: they go out although the action failed, and a new cancel stops them. When it ends, the
// rest of the action is skipped as before.
class CLinkRecovery {
public:
    explicit CLinkRecovery(CComIF& port = g_ComIF);
    ~CLinkRecovery();
    CLinkRecovery(const CLinkRecovery&) = delete;
    CLinkRecovery& operator=(const CLinkRecovery&) = delete;

private:
    CComIF& m_port;
};
