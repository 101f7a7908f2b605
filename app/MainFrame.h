// The main window: a fixed-size frame around the main form, with the menu, a bar above the form
// when the camera is not the model chosen, and a status bar naming the port and its camera. Its
// creation shows the splash; closing it asks about unapplied changes, then stops the ports' log
// output.
#pragma once

#include "app/AttachedCamera.h"

#include <QMainWindow>

#include <memory>
#include <string>

class CCameraSettingsMenu;
class CCameraStatusBar;
class CModelMismatchBar;
class QToolBar;
class CIdentifyCamera;
class CVireoView;

class CMainFrame : public QMainWindow {
public:
    CMainFrame();
    ~CMainFrame() override;

    // Builds the frame (menu, icon, title) and shows the splash, then creates the view inside.
    // False when something could not be created.
    bool LoadFrame();
    CVireoView* GetActiveView() const;
    // Sizes the frame to the form exactly; the user cannot resize it.
    void FitToView();
    void OnCommand(int command);
    // The File menu's camera-settings items; null before LoadFrame.
    CCameraSettingsMenu* GetCameraSettingsMenu() const { return m_pCameraSettings; }
    // The Comm menu's "Identify Camera"; null before LoadFrame.
    CIdentifyCamera* GetIdentifyCamera() const { return m_pIdentify.get(); }

    // After the port was opened (at start and after COMM Setup): identifies the camera on it
    // once and shows what it is.
    void OnPortOpened();
    const AttachedCamera& Attached() const { return m_attached; }
    CCameraStatusBar* GetCameraStatus() const { return m_pStatus; }
    CModelMismatchBar* GetModelMismatchBar() const { return m_pMismatch; }

protected:
    // -1 when the frame could not be created.
    int OnCreate();
    void closeEvent(QCloseEvent* event) override;

private:
    // Shows or hides the bar by the chosen model and the camera's.
    void ShowModelMismatch();
    // The camera's line in the title while the status bar is folded away.
    void ShowCameraInTitle();

    CCameraSettingsMenu* m_pCameraSettings = nullptr;
    CCameraStatusBar* m_pStatus = nullptr;
    CModelMismatchBar* m_pMismatch = nullptr;
    QToolBar* m_pMismatchArea = nullptr;
    AttachedCamera m_attached;
    // The inventory camera in use, by name; empty for a port chosen by itself.
    std::string m_cameraName;
    std::unique_ptr<CIdentifyCamera> m_pIdentify;
};
