// The application object: starts the program, owns the register maps every page talks to the
// camera through, and ends the program in order.
#pragma once

#include <QStringList>

class CMainFrame;
class CRVXReg;
class CRVX1240Reg;
class CRVX1250Reg;
class CRVQM52BM14Reg;
class QEvent;
class QObject;

class CVireoApp {
public:
    CVireoApp();
    // Deletes the three register maps.
    ~CVireoApp();
    CVireoApp(const CVireoApp&) = delete;
    CVireoApp& operator=(const CVireoApp&) = delete;

    // The start-up sequence; false ends the program. arguments as the program received them.
    bool InitInstance(const QStringList& arguments);
    // Undoes what start-up hooked into the platform; returns exitCode.
    int ExitInstance(int exitCode);
    // Offered every event of the program first; true when it was taken.
    bool PreTranslateMessage(QObject* receiver, QEvent* event);
    void OnAppAbout();

    // True unless the arguments hold the embedding or automation switch.
    static bool ShowSplashFor(const QStringList& arguments);

    // The register map of each model family; the RVQM52 map serves both RVQM52 models.
    CRVX1240Reg* m_pReg1240 = nullptr;
    CRVX1250Reg* m_pReg1250 = nullptr;
    CRVQM52BM14Reg* m_pRegQM52 = nullptr;
    // The same three objects seen as the common register set; not owning.
    CRVXReg* m_pBaseReg1240 = nullptr;
    CRVXReg* m_pBaseReg1250 = nullptr;
    CRVXReg* m_pBaseRegQM52 = nullptr;

    CMainFrame* m_pMainWnd = nullptr;

    // Start-up steps 5 and 6: the three maps, each on the port facade, and their common views.
    // A map that cannot be allocated stays null.
    void CreateRegisterMaps();
};

extern CVireoApp theApp;
