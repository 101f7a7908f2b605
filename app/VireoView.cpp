#include "app/VireoView.h"

#include "app/CommSetup.h"
#include "app/LogDlg.h"
#include "app/MainFrame.h"
#include "app/VireoApp.h"
#include "app/WindowPlacer.h"
#include "app/WindowSettings.h"
#include "camera/RVX1240Reg.h"
#include "platform/msgbox/MessageBox.h"
#include "platform/profile/Profile.h"
#include "platform/ui/Resources.h"
#include "platform/ui/UserAction.h"
#include "res/Resource.h"

#include <QComboBox>
#include <QTabBar>

#include <algorithm>
#include <climits>
#include <new>

const char* const CVireoView::kModelNames[kModelCount] = {"RV1240DLX", "RV1250LX", "RVQM52BM14",
                                                          "RVQM52CM14"};
const int CVireoView::kModelTabs[kModelCount] = {IDC_TAB_RV1240, IDC_TAB_RV1250, IDC_TAB_RVQM52B,
                                                 IDC_TAB_RVQM52C};

namespace {
// Where the pages stand inside their tab control.
constexpr int kPageLeft = 4;
constexpr int kPageTop = 37;
constexpr int kPageTop1250 = 20;
// Room kept between a page and the tab control's frame.
constexpr int kPageMargin = 4;
constexpr const char* kChangesCaption = "Unapplied Changes";
// After a tab caption while its page has unapplied changes.
constexpr const char* kChangedTabMark = " *";
constexpr const char* kChooseModelPrompt = "Choose the camera model";
} // namespace

CVireoView::CVireoView() : ui::Dialog(IDD_VIREOSTUDIO_FORM)
{
    m_sets[0] = {IDC_TAB_RV1240,
                 kPageTop,
                 {{&m_cmd40Info, 0, "Info"},
                  {&m_cmd40SelfChk, 1, "SelfCheck"},
                  {&m_cmd40Mem, 3, "Memory"},
                  {&m_cmd40Register, 5, "Register"},
                  {&m_cmd40UsrGain, 2, "UserGain"},
                  {&m_cmd40Shatter, 4, "Shutter"}}};
    m_sets[1] = {IDC_TAB_RV1250,
                 kPageTop1250,
                 {{&m_cmd50Info, 0, "Info"},
                  {&m_cmd50SelfChk, 1, "SelfCheck"},
                  {&m_cmd50Mem, 3, "Memory"},
                  {&m_cmd50Register, 5, "Register"},
                  {&m_cmd50Shatter, 4, "Shutter"},
                  {&m_cmd50UsrGain, 2, "UserGain"}}};
    m_sets[2] = {IDC_TAB_RVQM52B,
                 kPageTop,
                 {{&m_cmd52BInfo, 0, "Info"},
                  {&m_cmd52BSelfChk, 1, "SelfCheck"},
                  {&m_cmd52BMem, 5, "Memory"},
                  {&m_cmd52BRegister, 6, "Register"},
                  {&m_cmd52BShatter, 3, "Shutter"},
                  {&m_cmd52BPartial, 4, "Partial"},
                  {&m_cmd52BUsrGain, 2, "UserGain"}}};
    m_sets[3] = {IDC_TAB_RVQM52C,
                 kPageTop,
                 {{&m_cmd52CInfo, 0, "Info"},
                  {&m_cmd52CSelfChk, 1, "SelfCheck"},
                  {&m_cmd52CMem, 6, "Memory"},
                  {&m_cmd52CRegister, 7, "Register"},
                  {&m_cmd52CShatter, 3, "Shutter"},
                  {&m_cmd52CPartial, 4, "Partial"},
                  {&m_cmd52CUsrGain, 2, "UserGain"},
                  {&m_cmd52CColor, 5, "Color"}}};

    OnSelChange(IDC_COMBO_MODEL, [this] { SelectModelPages(); });
    OnClicked(IDC_BUTTON_UPDATE, [this] { OnRegisterUpdate(); });
    for (int model = 0; model < kModelCount; ++model)
        OnSelChange(kModelTabs[model], [this, model] { OnTabChange(model); });
}

CVireoView::~CVireoView()
{
    if (m_pLogDlg) {
        ILogWriter* expected = m_pLogDlg;
        g_pLogDlg.compare_exchange_strong(expected, nullptr);
        delete m_pLogDlg;
        m_pLogDlg = nullptr;
    }
}

void CVireoView::OnInitialUpdate()
{
    UpdateData(false);

    if (auto* frame = dynamic_cast<CMainFrame*>(window()))
        frame->FitToView();

    // Records of the port's opening wait in the log window's text until its box exists.
    m_pLogDlg = new (std::nothrow) CLogDlg;
    if (m_pLogDlg)
        g_pLogDlg = m_pLogDlg;

    // Both windows take their places before either is shown.
    m_pPlacer = new CWindowPlacer(window(), m_pLogDlg);

    // The port opens once the settings are loaded (OpenPortAtStartUp), never before with none.
    CreatePageTabs();
    ChooseStoredModel();
    PlaceLog();
}

void CVireoView::ChooseStoredModel()
{
    ui::ComboBox models = GetComboBox(IDC_COMBO_MODEL);
    const std::string stored = profile::GetProfileString(kWindowSection, kLastModelEntry, "");
    const int index = stored.empty() ? -1 : models.FindStringExact(-1, stored);
    if (index < 0)
        return;
    models.SetCurSel(index);
    // A choice by the program is not announced by the list: the pages follow it here.
    SelectModelPages();
}

void CVireoView::ShowLogWindow()
{
    if (!m_pLogDlg || m_pLogDlg->IsCreated())
        return;
    m_pLogDlg->Create(this);
    if (PlaceLog())
        m_pLogDlg->ShowWindow(true);
}

void CVireoView::OpenLogWindow()
{
    if (!m_pLogDlg)
        return;
    if (!m_pLogDlg->IsCreated())
        m_pLogDlg->Create(this);
    if (m_pLogDlg->isHidden()) {
        PlaceLog();
        m_pLogDlg->ShowWindow(true);
    }
    m_pLogDlg->raise();
    m_pLogDlg->activateWindow();
}

bool CVireoView::PlaceLog()
{
    return !m_pPlacer || m_pPlacer->Place();
}

void CVireoView::CreatePageTabs()
{
    NameTabControls();
    for (int model = 0; model < kModelCount; ++model) {
        BuildTabs(model);
        GetWindow(m_sets[model].tabId).ShowWindow(false);
    }
    FitPages();
}

void CVireoView::NameTabControls()
{
    // The model list and the tab controls have no caption of their own to be found by.
    GetWindow(IDC_COMBO_MODEL).Widget()->setAccessibleName(QStringLiteral("Camera Model"));
    // Until a model is chosen the list says what it is for.
    if (auto* models = qobject_cast<QComboBox*>(GetDlgItem(IDC_COMBO_MODEL)))
        models->setPlaceholderText(QString::fromLatin1(kChooseModelPrompt));
    for (int model = 0; model < kModelCount; ++model)
        GetDlgItem(m_sets[model].tabId)->setAccessibleName(QString::fromLatin1(kModelNames[model]));
}

void CVireoView::EnsurePages(int model)
{
    if (model < 0 || model >= kModelCount || m_pagesCreated[model])
        return;
    m_pagesCreated[model] = true;
    QWidget* tab = GetDlgItem(m_sets[model].tabId);
    for (const PageEntry& entry : m_sets[model].pages) {
        entry.page->Create(tab);
        entry.page->MoveWindow(kPageLeft, m_pageTop[model]);
        entry.page->SetChangesListener([this, model, entry] { ShowPageChanges(model, entry); });
    }
    FitPages();
}

QRect CVireoView::PageRect(int model, const PageEntry& entry) const
{
    if (m_pagesCreated[model])
        return entry.page->geometry();
    const ui::DialogTemplate* tmpl = ui::FindDialogTemplate(entry.page->TemplateId());
    if (!tmpl)
        return {};
    const ui::DialogUnits units(ui::TemplateFont(*tmpl));
    return {kPageLeft, m_pageTop[model], units.ToPixelsX(tmpl->rect.cx),
            units.ToPixelsY(tmpl->rect.cy)};
}

void CVireoView::BuildTabs(int model)
{
    PageSet& set = m_sets[model];
    ui::TabCtrl tab = GetTabCtrl(set.tabId);
    std::vector<PageEntry> byTab = set.pages;
    std::sort(byTab.begin(), byTab.end(),
              [](const PageEntry& a, const PageEntry& b) { return a.tabIndex < b.tabIndex; });
    for (const PageEntry& entry : byTab)
        tab.InsertItem(entry.tabIndex, entry.caption);
    // With our font the tab strip may be taller than the place the pages were drawn for; the
    // captions stay visible.
    const QRect display = tab.DisplayRect();
    m_pageTop[model] = std::max(set.top, display.top() + 2);
    tab.SetCurSel(tab.GetItemCount() - 1);
}

void CVireoView::FitPages()
{
    QSize need(0, 0);
    QSize have(0, 0);
    for (int model = 0; model < kModelCount; ++model) {
        const PageSet& set = m_sets[model];
        ui::TabCtrl tab = GetTabCtrl(set.tabId);
        have = have.expandedTo(tab.Widget()->size());
        // Every tab caption stays visible: the strip never needs its scroll buttons.
        need = need.expandedTo(QSize(tab.Widget()->Bar()->sizeHint().width() + kPageMargin, 0));
        for (const PageEntry& entry : set.pages) {
            const QRect page = PageRect(model, entry);
            need = need.expandedTo(
                QSize(page.right() + 1 + kPageMargin, page.bottom() + 1 + kPageMargin));
        }
    }
    const QSize grow(std::max(0, need.width() - have.width()),
                     std::max(0, need.height() - have.height()));
    if (grow.isNull())
        return;
    for (const PageSet& set : m_sets) {
        QWidget* tab = GetDlgItem(set.tabId);
        tab->resize(tab->size() + grow);
    }
    setFixedSize(size() + grow);
    if (auto* frame = dynamic_cast<CMainFrame*>(window()))
        frame->FitToView();
    PlaceLog();
}

pages::CCmdPage* CVireoView::CurrentPage(int model) const
{
    if (model < 0 || model >= kModelCount)
        return nullptr;
    const int current = GetTabCtrl(m_sets[model].tabId).GetCurSel();
    for (const PageEntry& entry : m_sets[model].pages)
        if (entry.tabIndex == current)
            return entry.page;
    return nullptr;
}

void CVireoView::ShowCurrentPage(int model)
{
    EnsurePages(model);
    for (const PageEntry& entry : m_sets[model].pages)
        entry.page->ShowWindow(false);
    if (pages::CCmdPage* page = CurrentPage(model))
        page->ShowWindow(true);
}

void CVireoView::ShowPageChanges(int model, const PageEntry& entry)
{
    QTabBar* bar = GetTabCtrl(m_sets[model].tabId).Widget()->Bar();
    QString caption = QString::fromLatin1(entry.caption);
    if (entry.page->HasChanges())
        caption += QLatin1String(kChangedTabMark);
    if (bar->tabText(entry.tabIndex) != caption)
        bar->setTabText(entry.tabIndex, caption);
}

void CVireoView::OnTabChange(int model)
{
    const int current = GetTabCtrl(m_sets[model].tabId).GetCurSel();
    for (const PageEntry& entry : m_sets[model].pages)
        if (entry.tabIndex != current && entry.page->IsCreated() && !entry.page->isHidden() &&
            !SettlePage(entry.page, Leave::Hide)) {
            GetTabCtrl(m_sets[model].tabId).SetCurSel(entry.tabIndex);
            return;
        }
    ShowCurrentPage(model);
}

bool CVireoView::SettlePage(pages::CCmdPage* page, Leave leave)
{
    if (!page || !page->HasChanges())
        return true;
    std::string caption;
    for (const PageSet& set : m_sets)
        for (const PageEntry& entry : set.pages)
            if (entry.page == page)
                caption = entry.caption;
    switch (AskApplyDiscardCancel("The " + caption +
                                      " page has changes that were not applied to the camera.\n\n"
                                      "Apply them now?",
                                  kChangesCaption)) {
    case ChangesChoice::Apply:
        page->Apply();
        return true;
    case ChangesChoice::Discard:
        // The camera's values come back.
        if (leave != Leave::Close && pages::CCmdPage::MayRead())
            page->Refresh();
        return true;
    case ChangesChoice::Cancel:
        break;
    }
    return false;
}

int CVireoView::ShownModel() const
{
    for (int model = 0; model < kModelCount; ++model)
        if (QWidget* tab = GetDlgItem(m_sets[model].tabId); tab && !tab->isHidden())
            return model;
    return -1;
}

bool CVireoView::SettleShownPage(Leave leave)
{
    const int model = ShownModel();
    pages::CCmdPage* page = CurrentPage(model);
    return !page || page->isHidden() || SettlePage(page, leave);
}

void CVireoView::RefreshShownPage(int model)
{
    if (model < 0 || model >= kModelCount || GetDlgItem(m_sets[model].tabId)->isHidden() ||
        !pages::CCmdPage::MayRead())
        return;
    if (pages::CCmdPage* page = CurrentPage(model); page && !page->isHidden())
        page->Refresh();
}

std::string CVireoView::ChosenModelName() const
{
    ui::ComboBox models = GetComboBox(IDC_COMBO_MODEL);
    const int index = models.GetCurSel();
    return index < 0 ? std::string() : models.GetLBText(index);
}

bool CVireoView::ChooseModel(const std::string& name)
{
    ui::ComboBox models = GetComboBox(IDC_COMBO_MODEL);
    const int index = models.FindStringExact(-1, name);
    if (index < 0)
        return false;
    models.SetCurSel(index);
    // A choice by the program is not announced by the list: the pages follow it here.
    return SelectModelPages();
}

bool CVireoView::SelectModelPages()
{
    const int shown = ShownModel();
    // The page on show reads anew even when its own model is chosen again.
    if (shown >= 0 && !SettleShownPage(Leave::Hide)) {
        ui::ComboBox models = GetComboBox(IDC_COMBO_MODEL);
        models.SetCurSel(models.FindStringExact(-1, kModelNames[shown]));
        return false;
    }
    for (int model = 0; model < kModelCount; ++model) {
        ui::Window tab = GetWindow(m_sets[model].tabId);
        // The page on show is hidden with its model.
        if (tab.Widget() && !tab.Widget()->isHidden())
            if (pages::CCmdPage* page = CurrentPage(model))
                page->ShowWindow(false);
        tab.ShowWindow(false);
    }
    ui::ComboBox models = GetComboBox(IDC_COMBO_MODEL);
    const std::string model = models.GetLBText(models.GetCurSel());
    // The next run starts with the model chosen last.
    if (!model.empty())
        profile::WriteProfileString(kWindowSection, kLastModelEntry, model);
    for (int i = 0; i < kModelCount; ++i)
        if (model == kModelNames[i]) {
            GetWindow(m_sets[i].tabId).ShowWindow(true);
            ShowCurrentPage(i);
            break;
        }
    if (m_onModel)
        m_onModel();
    return true;
}

void CVireoView::ForgetCamera()
{
    for (const PageSet& set : m_sets)
        for (const PageEntry& entry : set.pages)
            entry.page->ForgetCamera();
}

void CVireoView::OnRegisterUpdate()
{
    if (!theApp.m_pReg1240)
        return;
    // A refusal is told as every other action tells it; link failures bring their own notice.
    const CResult result = theApp.m_pReg1240->SetRegisterUpdate(1);
    if (const std::string text = pages::CameraFailureText(result); !text.empty())
        ui::ReportActionFailure(text);
}
