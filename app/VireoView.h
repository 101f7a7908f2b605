// The main form: the camera model list and the register-update button; below them each model's
// tab control with its setting pages. Its first update creates the log window and opens the port.
#pragma once

#include "platform/ui/Dialog.h"

class CLogDlg;

class CVireoView : public ui::Dialog {
public:
    CVireoView();
    // Deletes the log window first.
    ~CVireoView() override;

    // Runs once, when the frame has created the view.
    void OnInitialUpdate();

    // Shows the tab control of the model chosen in the list.
    void SelectModelPages();
    // "Update": the register update of the RV1240DLX register set, whatever model is chosen.
    void OnRegisterUpdate();

    // Tab control of each model, in the list's order.
    static constexpr int kModelCount = 4;
    static const char* const kModelNames[kModelCount];
    static const int kModelTabs[kModelCount];

private:
    CLogDlg* m_pLogDlg = nullptr;
};
