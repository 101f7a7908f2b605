// The main window: a fixed-size frame around the main form, with the menu and no tool or status
// bar. Its creation shows the splash; closing it first stops the ports' log output.
#pragma once

#include <QMainWindow>

#include <memory>

class CCameraSettingsMenu;
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

protected:
    // -1 when the frame could not be created.
    int OnCreate();
    void closeEvent(QCloseEvent* event) override;

private:
    CCameraSettingsMenu* m_pCameraSettings = nullptr;
    std::unique_ptr<CIdentifyCamera> m_pIdentify;
};
