// "Comm(&C) > Identify Camera": reads what the attached camera says it is and shows it in a box;
// when it is one of the known models and not the one chosen in the main view's list, the box
// offers to choose it there.
#pragma once

#include "camera/settings/CameraIdentity.h"

#include <string>

class CComIF;
class CVireoView;
class QWidget;

class CIdentifyCamera {
public:
    // comIF reaches the camera (the program's g_ComIF, or a test's link).
    CIdentifyCamera(QWidget* window, CVireoView* view, CComIF* comIF);
    void SetComIF(CComIF* comIF) { m_comIF = comIF; }

    // The menu command.
    void OnIdentifyCamera();

    // The box's text for an identity ("Vendor: ...", one line each).
    static std::string Describe(const CameraIdentity& identity);

private:
    // The model chosen in the view's list, or an empty text.
    std::string ChosenModelName() const;
    void ChooseModel(const std::string& name);

    QWidget* m_window;
    CVireoView* m_view;
    CComIF* m_comIF;
};
