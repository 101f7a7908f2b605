// A dialog built from a template: a modal or modeless window, or a child page inside another
// window. Controls are reached by id; button clicks, list and tab selection changes, edits,
// up-down steps and scroll-bar notifications are routed to handlers registered by id; the
// dialog's data exchange moves check boxes, radio groups and texts between controls and members.
//
// A setting page derives from it with its template id, binds its controls and values in
// DoDataExchange, answers OnHScroll, and reads the camera in OnShowWindow(true). Its view creates
// it with Create(tab control), places it with MoveWindow and shows it with ShowWindow.
#pragma once

#include "platform/ui/Controls.h"
#include "platform/ui/DialogUnits.h"
#include "platform/ui/AccessibleName.h"
#include "platform/ui/Template.h"

#include <QDialog>
#include <QSize>

#include <functional>
#include <map>
#include <memory>
#include <vector>

class QButtonGroup;

namespace ui {

class DataExchange;

enum class Notify {
    Clicked,    // push button, check box or radio button clicked
    SelChange,  // the user chose another list item or tab
    EditChange, // the user typed into an edit box or a combo box's edit field
    DeltaPos,   // the user stepped an up-down control
};

class Dialog : public QDialog {
public:
    explicit Dialog(int templateId);
    ~Dialog() override;

    int TemplateId() const { return m_templateId; }
    // The template found at creation; null before.
    const DialogTemplate* Template() const { return m_template; }

    // Creates the window from its template: a child template becomes a hidden child of parent
    // (unless it is shown later), a pop-up template a window owned by parent at the template's
    // position. Runs OnInitDialog. False when the template is missing or it exists already.
    bool Create(QWidget* parent);
    // Runs the dialog modally (owned by parent, or by the main window); returns the code given
    // to EndDialog, or -1 when the template is missing.
    int DoModal(QWidget* parent = nullptr);
    void EndDialog(int result);
    bool IsCreated() const { return m_template != nullptr; }

    // Shows or hides the dialog; a change of state is reported to OnShowWindow.
    void ShowWindow(bool show);
    // Moves the dialog (within its parent, or on the screen) without resizing it.
    void MoveWindow(int x, int y);

    QWidget* GetDlgItem(int id) const;
    Window GetWindow(int id) const { return Window(GetDlgItem(id)); }
    Button GetButton(int id) const;
    Edit GetEdit(int id) const;
    ComboBox GetComboBox(int id) const;
    ScrollBar GetScrollBar(int id) const;
    TabCtrl GetTabCtrl(int id) const;
    UpDown GetUpDown(int id) const;
    Static GetStatic(int id) const;

    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const std::string& text);
    void CheckDlgButton(int id, int check);
    int IsDlgButtonChecked(int id) const;

    // Data exchange: false pushes the members to the controls, true pulls them back.
    bool UpdateData(bool saveAndValidate = true);

    // The radio buttons of the group that starts at firstId, in template order.
    std::vector<QAbstractButton*> RadioGroup(int firstId) const;

    // Base units of the dialog's font (once the dialog is created).
    const DialogUnits& Units() const { return *m_units; }

    // Handlers by control id (a later registration replaces an earlier one).
    void On(Notify what, int id, std::function<void()> handler);
    void OnClicked(int id, std::function<void()> handler)
    {
        On(Notify::Clicked, id, std::move(handler));
    }
    void OnSelChange(int id, std::function<void()> handler)
    {
        On(Notify::SelChange, id, std::move(handler));
    }
    void OnEditChange(int id, std::function<void()> handler)
    {
        On(Notify::EditChange, id, std::move(handler));
    }
    void OnDeltaPos(int id, std::function<void()> handler)
    {
        On(Notify::DeltaPos, id, std::move(handler));
    }

    // What a pop-up window does when the user or the screen makes it smaller than its template:
    // Scroll keeps the controls where the template puts them and scrolls them; Stretch leaves
    // the layout to the dialog's own resizeEvent.
    enum class Resize { Scroll, Stretch };
    // The smallest size a scrolling pop-up may be given, when its template is larger.
    static QSize ScrollMinimum();

protected:
    // Before Create or DoModal.
    void SetResizeRule(Resize rule) { m_resize = rule; }
    // After the controls exist. The default pushes the members to the controls and returns true.
    virtual bool OnInitDialog();
    virtual void DoDataExchange(DataExchange& dx);
    // Button 1 (or Return on the default button): pull the members, then end with IDOK.
    virtual void OnOK();
    // Button 2, Escape or the close box: end with IDCANCEL.
    virtual void OnCancel();
    // A horizontal scroll bar reported code (ScrollCode) with pos for SB_THUMBPOSITION and
    // SB_THUMBTRACK. The default does nothing.
    virtual void OnHScroll(int code, int pos, ScrollBar bar);
    // The dialog was shown (true) or hidden (false) through ShowWindow.
    virtual void OnShowWindow(bool show);

    void reject() override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Build(const DialogTemplate& tmpl, QWidget* parent, bool modal);
    void Wire(QWidget* control, int id);
    void NameControls(const DialogTemplate& tmpl);
    // Labels and frames with a mnemonic move the focus to the control after them.
    void ConnectMnemonics(const DialogTemplate& tmpl);
    void Dispatch(Notify what, int id);
    // How the progress of the action a control sets off is described.
    std::string ActionLabel(int id) const;
    void PlacePopup(const DialogTemplate& tmpl, QWidget* parent);
    // A pop-up's size: its template's, within the screen's available area.
    void SizePopup(QSize designed, QWidget* parent);

    int m_templateId;
    const DialogTemplate* m_template = nullptr;
    std::unique_ptr<DialogUnits> m_units;
    std::map<int, QWidget*> m_controls;
    std::vector<std::pair<int, QWidget*>> m_order; // controls in template order
    std::vector<QButtonGroup*> m_radioGroups;
    std::map<std::pair<Notify, int>, std::function<void()>> m_handlers;
    bool m_child = false;
    Resize m_resize = Resize::Scroll;
};

// Moves values between a dialog's controls and its members, one call per control.
class DataExchange {
public:
    DataExchange(Dialog& dialog, bool saveAndValidate)
        : m_dialog(dialog), m_bSaveAndValidate(saveAndValidate)
    {
    }
    bool Saving() const { return m_bSaveAndValidate; }

    // A check box and an int flag: 1 checked, 0 not.
    void Check(int id, int& value);
    // A radio group (by the id of its first button) and the index of its chosen button, -1 for
    // none.
    void Radio(int firstId, int& index);
    // An edit box (or any control's text) and a string.
    void Text(int id, std::string& value);
    // Binds a handle to its control.
    void Control(int id, Button& handle) { handle = m_dialog.GetButton(id); }
    void Control(int id, Edit& handle) { handle = m_dialog.GetEdit(id); }
    void Control(int id, ComboBox& handle) { handle = m_dialog.GetComboBox(id); }
    void Control(int id, ScrollBar& handle) { handle = m_dialog.GetScrollBar(id); }
    void Control(int id, TabCtrl& handle) { handle = m_dialog.GetTabCtrl(id); }
    void Control(int id, UpDown& handle) { handle = m_dialog.GetUpDown(id); }
    void Control(int id, Static& handle) { handle = m_dialog.GetStatic(id); }

private:
    Dialog& m_dialog;
    bool m_bSaveAndValidate;
};

} // namespace ui
