// The main window: a frame around the main form, with the menu, a bar above the form when the
// camera is not the model chosen, and a status bar naming the port and its camera. It opens at
// the form's size within the screen's available area; smaller, the form scrolls inside it. Its
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
class QScrollArea;
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
    // Sizes the frame to the form and its bars, within the screen's available area; the user may
    // make it smaller, down to MinimumSize, or as large as that again.
    void FitToView();
    static QSize MinimumSize();
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
    // At the start of an action on a port that was lost: after a reopen the camera is
    // identified again before anything of the action is sent. Another model ends the action
    // (its pages are offered); another serial number goes on only when the user says so.
    CResult OnLostPort(bool reopened);
    // The camera the window names, records changes against and compares with from now on.
    void TakeAttached(const AttachedCamera& camera);
    // The inventory camera's name in the title.
    void ShowCameraInTitle();

    CCameraSettingsMenu* m_pCameraSettings = nullptr;
    CCameraStatusBar* m_pStatus = nullptr;
    CModelMismatchBar* m_pMismatch = nullptr;
    QToolBar* m_pMismatchArea = nullptr;
    QScrollArea* m_pScroll = nullptr; // holds the view
    CVireoView* m_pView = nullptr;
    AttachedCamera m_attached;
    // The inventory camera in use, by name; empty for a port chosen by itself.
    std::string m_cameraName;
    std::unique_ptr<CIdentifyCamera> m_pIdentify;
};
