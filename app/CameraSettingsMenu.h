// The File menu's "Save Camera Settings..." and "Load Camera Settings...": the chosen model's
// settings to a JSON file and back, through the same core as vireoctl. Both items are enabled
// once a model is chosen in the main view's list.
#pragma once

#include "app/AttachedCamera.h"
#include "app/LoadBankDlg.h"
#include "camera/settings/CameraModel.h"
#include "comm/Result.h"

#include <QObject>

#include <functional>
#include <optional>
#include <string>

class CComIF;
class CRVXReg;
class CVireoView;
class QAction;
class QMenuBar;
class QWidget;

class CCameraSettingsMenu : public QObject {
public:
    // Where the camera is reached: the port facade (for the identity) and the register map of a
    // model's family. The default is the program's: g_ComIF and theApp's maps.
    struct Camera {
        CComIF* comIF = nullptr;
        std::function<CRVXReg*(CameraModel)> map;
    };

    // Finds its two items in bar by command id and follows the view's model list.
    CCameraSettingsMenu(QWidget* window, QMenuBar* bar, CVireoView* view);
    void SetCamera(Camera camera) { m_camera = std::move(camera); }

    // Called after a load has changed the camera, so that the page on show reads it again.
    // The main view connects its current page's Refresh here.
    void SetPageRefresh(std::function<void(CameraModel)> refresh)
    {
        m_pageRefresh = std::move(refresh);
    }

    // The camera the window identified when its port opened: a camera of the inventory that
    // was replaced since is not saved or loaded unasked. Not set: not checked.
    void SetAttachedCamera(std::function<AttachedCamera()> attached)
    {
        m_attached = std::move(attached);
    }

    // The menu commands.
    void OnSaveCameraSettings();
    void OnLoadCameraSettings();

    // The model chosen in the view's list, if any.
    std::optional<CameraModel> ChosenModel() const;

    // How long a transfer may take before its progress is shown (tests shorten it).
    int m_showProgressAfterMs;
    // Asks where a load is kept; empty: the dialog, with the model's banks (tests answer here).
    std::function<std::optional<LoadBankChoice>(QWidget*)> m_askBank;

private:
    // The chosen model with the register map that reaches it, or nothing.
    struct Target {
        CameraModel model;
        CRVXReg* map;
        std::string name;
    };
    std::optional<Target> ChosenTarget() const;
    // True when the camera's model (read with result) is the target's; otherwise says why not,
    // naming both models, and what was not done.
    bool IsChosenModel(const Target& target, const std::string& cameraModel,
                       const std::optional<CameraModel>& kind, const CResult& result,
                       const char* nothingDone);
    void UpdateItems();
    void Report(const std::string& text, bool failed);
    // Ends a load that was verified: stores it into the chosen bank, if any, and says so.
    void ReportLoaded(const std::string& text, CRVXReg& map, const LoadBankChoice& keep);

    QWidget* m_window;
    CVireoView* m_view;
    QAction* m_save = nullptr;
    QAction* m_load = nullptr;
    Camera m_camera;
    std::function<void(CameraModel)> m_pageRefresh;
    std::function<AttachedCamera()> m_attached;
};
