// The main form: the camera model list and the register-update button; below them each model's
// tab control with its setting pages. Its first update creates the log window and opens the port.
#pragma once

#include "app/VireoApp.h"
#include "pages/rv1240/Cmd40Info.h"
#include "pages/rv1240/Cmd40Mem.h"
#include "pages/rv1240/Cmd40Register.h"
#include "pages/rv1240/Cmd40SelfChk.h"
#include "pages/rv1240/Cmd40Shatter.h"
#include "pages/rv1240/Cmd40UsrGain.h"
#include "pages/rv1250/Cmd50Info.h"
#include "pages/rv1250/Cmd50Mem.h"
#include "pages/rv1250/Cmd50Register.h"
#include "pages/rv1250/Cmd50SelfChk.h"
#include "pages/rv1250/Cmd50Shatter.h"
#include "pages/rv1250/Cmd50UsrGain.h"
#include "pages/rvqm52/Cmd52BInfo.h"
#include "pages/rvqm52/Cmd52BMem.h"
#include "pages/rvqm52/Cmd52BPartial.h"
#include "pages/rvqm52/Cmd52BRegister.h"
#include "pages/rvqm52/Cmd52BSelfChk.h"
#include "pages/rvqm52/Cmd52BShatter.h"
#include "pages/rvqm52/Cmd52BUsrGain.h"
#include "pages/rvqm52/Cmd52CColor.h"
#include "pages/rvqm52/Cmd52CPartial.h"
#include "pages/rvqm52/Cmd52CUsrGain.h"
#include "platform/ui/Dialog.h"

#include <array>
#include <functional>
#include <string>
#include <vector>

class CLogDlg;
class CWindowPlacer;

class CVireoView : public ui::Dialog {
public:
    CVireoView();
    // Deletes the log window first; the pages go after it, in reverse order of construction.
    ~CVireoView() override;

    // Runs once, when the frame has created the view. The log window takes records from here
    // on; it is built and shown by ShowLogWindow.
    void OnInitialUpdate();
    // Builds the log window and shows it beside the main window; runs once the main window is
    // on the screen, so that the main window does not wait for it. Where the screen has no room
    // beside the main window it stays closed rather than cover it (the menu opens it).
    void ShowLogWindow();
    // The menu's "Log Window": shows the log window, built if need be, and brings it to the front.
    void OpenLogWindow();
    // Both windows within the screen's available area, the log window beside the main window
    // where there is room (WindowPlacement.h). False when the log window's place covers part of
    // the main window.
    bool PlaceLog();
    // Its last steps: every model's tabs built and its tab control hidden. The pages are made
    // when their model is first chosen; the form already has the size they need.
    void CreatePageTabs();
    // Creates a model's pages, hidden, in its tab control, unless they exist.
    void EnsurePages(int model);
    bool PagesCreated(int model) const { return m_pagesCreated[model]; }

    // Shows the tab control of the model chosen in the list, once the page left has no
    // unapplied changes; when the user keeps them, the list goes back to the model on show and
    // false is returned.
    bool SelectModelPages();
    // Chooses a model in the list by its name, as the user would. False when it is not in the
    // list or the user stayed on the pages on show.
    bool ChooseModel(const std::string& name);
    // The model chosen in the list, or an empty text.
    std::string ChosenModelName() const;
    // Called after the model list's choice was followed.
    void SetModelListener(std::function<void()> listener) { m_onModel = std::move(listener); }

    // What follows when the user leaves a page with unapplied changes.
    enum class Leave {
        Hide,   // another page is shown
        Close,  // the window goes
        Reload, // settings are loaded into the camera
    };
    // Asks about a page's unapplied changes, if it has any: Apply writes them, Discard drops them
    // (the page reads the camera again unless the window goes), Cancel keeps them. False for
    // Cancel: the user stays on the page.
    bool SettlePage(pages::CCmdPage* page, Leave leave);
    // The same for the page on show.
    bool SettleShownPage(Leave leave);
    // The model whose tab control is on show, or -1.
    int ShownModel() const;
    // Chooses the model stored as chosen last, when the list has it.
    void ChooseStoredModel();
    // Shows the page of the current tab of one model's set.
    void ShowCurrentPage(int model);
    // Reads the camera again into the page on show, when that model's pages are on show (after
    // its settings were changed from outside the pages).
    void RefreshShownPage(int model);
    // Another camera may be on the port: every page drops what it says of the last one.
    void ForgetCamera();
    // "Update": the register update of the RV1240DLX register set, whatever model is chosen.
    void OnRegisterUpdate();

    // Tab control of each model, in the list's order.
    static constexpr int kModelCount = 4;
    static const char* const kModelNames[kModelCount];
    static const int kModelTabs[kModelCount];

    // One page of a model's set: where its tab stands and what it says.
    struct PageEntry {
        pages::CCmdPage* page;
        int tabIndex;
        const char* caption;
    };
    struct PageSet {
        int tabId;
        int top; // pixels between the tab control's top and its pages
        std::vector<PageEntry> pages;
    };
    const PageSet& Set(int model) const { return m_sets[model]; }
    // The page shown in a model's set, or null.
    pages::CCmdPage* CurrentPage(int model) const;

    // Each page is handed the application object's slot for its map and reads it when it talks to
    // the camera, so maps put there after the view was made are found. The shared pages take the
    // common view of the map, the others the model's own.
    // RV1240DLX set, in the order the pages are created.
    CCmd40Info m_cmd40Info{&theApp.m_pBaseReg1240};
    CCmd40SelfChk m_cmd40SelfChk{&theApp.m_pBaseReg1240};
    CCmd40Mem m_cmd40Mem{&theApp.m_pBaseReg1240};
    CCmd40Register m_cmd40Register{&theApp.m_pBaseReg1240};
    CCmd40UsrGain m_cmd40UsrGain{&theApp.m_pReg1240};
    CCmd40Shatter m_cmd40Shatter{&theApp.m_pReg1240};
    // RV1250LX set, in the order the pages are created.
    CCmd50Info m_cmd50Info{&theApp.m_pBaseReg1250};
    CCmd50SelfChk m_cmd50SelfChk{&theApp.m_pBaseReg1250};
    CCmd50Mem m_cmd50Mem{&theApp.m_pBaseReg1250};
    CCmd50Register m_cmd50Register{&theApp.m_pBaseReg1250};
    CCmd50Shatter m_cmd50Shatter{&theApp.m_pReg1250};
    CCmd50UsrGain m_cmd50UsrGain{&theApp.m_pReg1250};

    // RVQM52BM14 set, in the order the pages are created.
    CCmd52BInfo m_cmd52BInfo{&theApp.m_pRegQM52};
    CCmd52BSelfChk m_cmd52BSelfChk{&theApp.m_pBaseRegQM52};
    CCmd52BMem m_cmd52BMem{&theApp.m_pBaseRegQM52};
    CCmd52BRegister m_cmd52BRegister{&theApp.m_pBaseRegQM52};
    CCmd52BShatter m_cmd52BShatter{&theApp.m_pRegQM52};
    CCmd52BPartial m_cmd52BPartial{&theApp.m_pRegQM52};
    CCmd52BUsrGain m_cmd52BUsrGain{&theApp.m_pRegQM52};

    // RVQM52CM14 set: second instances of the shared pages, then the colour model's own.
    CCmd52BInfo m_cmd52CInfo{&theApp.m_pRegQM52};
    CCmd52BSelfChk m_cmd52CSelfChk{&theApp.m_pBaseRegQM52};
    CCmd52BMem m_cmd52CMem{&theApp.m_pBaseRegQM52};
    CCmd52BRegister m_cmd52CRegister{&theApp.m_pBaseRegQM52};
    CCmd52BShatter m_cmd52CShatter{&theApp.m_pRegQM52};
    CCmd52CPartial m_cmd52CPartial{&theApp.m_pRegQM52};
    CCmd52CUsrGain m_cmd52CUsrGain{&theApp.m_pRegQM52};
    CCmd52CColor m_cmd52CColor{&theApp.m_pRegQM52};

private:
    // A tab click: the page left is settled first; kept changes keep its tab.
    void OnTabChange(int model);
    // The page's tab caption, marked while the page has unapplied changes.
    void ShowPageChanges(int model, const PageEntry& entry);
    void NameTabControls();
    void BuildTabs(int model);
    // Where a page stands in its tab control, whether it exists yet or not.
    QRect PageRect(int model, const PageEntry& entry) const;
    // The form grows when a page does not fit inside its tab control.
    void FitPages();

    CLogDlg* m_pLogDlg = nullptr;
    CWindowPlacer* m_pPlacer = nullptr; // owned by the main window
    std::array<PageSet, kModelCount> m_sets;
    std::array<int, kModelCount> m_pageTop{}; // pixels from the tab control's top to its pages
    std::array<bool, kModelCount> m_pagesCreated{};
    std::function<void()> m_onModel;
};
