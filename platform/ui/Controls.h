// Handles on a dialog's controls, reached by id. A handle does not own its control; it speaks
// the control's own vocabulary (current selection -1 for none, check state 0 or 1, window text)
// so that dialog code reads like the behaviour it implements. Texts are UTF-8.
#pragma once

#include "platform/ui/ScrollBar.h"
#include "platform/ui/TabControl.h"
#include "platform/ui/UpDown.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QPointer>

#include <string>

class QPlainTextEdit;
class QLineEdit;

namespace ui {

// Text of any control: an edit box's contents, a combo box's edit field (or selected item), a
// button's or label's caption, a window's title.
std::string GetWindowText(const QWidget* widget);
void SetWindowText(QWidget* widget, const std::string& text);

class Window {
public:
    Window() = default;
    explicit Window(QWidget* widget) : m_widget(widget) {}
    bool IsValid() const { return !m_widget.isNull(); }
    QWidget* Widget() const { return m_widget; }

    std::string GetWindowText() const { return ui::GetWindowText(m_widget); }
    void SetWindowText(const std::string& text) { ui::SetWindowText(m_widget, text); }
    void ShowWindow(bool show);
    bool IsWindowVisible() const;
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;

protected:
    QPointer<QWidget> m_widget;
};

// Push buttons, check boxes and radio buttons.
class Button : public Window {
public:
    Button() = default;
    explicit Button(QAbstractButton* button) : Window(button) {}
    QAbstractButton* Widget() const { return static_cast<QAbstractButton*>(m_widget.data()); }
    int GetCheck() const;     // 1 checked, 0 not
    void SetCheck(int check); // nonzero checks
    void Click();             // as if the user clicked it
};

class Edit : public Window {
public:
    Edit() = default;
    explicit Edit(QWidget* edit) : Window(edit) {}
    QLineEdit* LineEdit() const;      // single-line boxes
    QPlainTextEdit* TextEdit() const; // multi-line boxes
    bool IsReadOnly() const;
    void SetReadOnly(bool readOnly);
    int GetLineCount() const;
    // Scrolls the contents by whole lines (positive: towards the end).
    void LineScroll(int lines);
    // First visible line (multi-line boxes).
    int GetFirstVisibleLine() const;
};

class ComboBox : public Window {
public:
    ComboBox() = default;
    explicit ComboBox(QComboBox* combo) : Window(combo) {}
    QComboBox* Widget() const { return static_cast<QComboBox*>(m_widget.data()); }

    int GetCount() const;
    // -1 when no list item is selected.
    int GetCurSel() const;
    // Selects item index; -1 or an index outside the list clears the selection (and an edit
    // field) and returns -1.
    int SetCurSel(int index);
    std::string GetLBText(int index) const; // empty for an index outside the list
    // Adds at the end, or in order for a sorted list; returns the item's index.
    int AddString(const std::string& text);
    int InsertString(int index, const std::string& text);
    int DeleteString(int index);
    void ResetContent();
    // First item from start + 1 on (wrapping) whose text equals text, ignoring case as the
    // list's own search does; -1 when none. start -1 searches the whole list.
    int FindStringExact(int start, const std::string& text) const;
    bool IsSorted() const;
};

class ScrollBar : public Window {
public:
    ScrollBar() = default;
    explicit ScrollBar(ScrollBarWidget* bar) : Window(bar) {}
    ScrollBarWidget* Widget() const { return static_cast<ScrollBarWidget*>(m_widget.data()); }
    int GetDlgCtrlID() const;
    void SetScrollRange(int minimum, int maximum, bool redraw = true);
    void GetScrollRange(int* minimum, int* maximum) const;
    int SetScrollPos(int pos, bool redraw = true);
    int GetScrollPos() const;
};

class TabCtrl : public Window {
public:
    TabCtrl() = default;
    explicit TabCtrl(TabControlWidget* tab) : Window(tab) {}
    TabControlWidget* Widget() const { return static_cast<TabControlWidget*>(m_widget.data()); }
    int InsertItem(int index, const std::string& caption);
    bool DeleteAllItems();
    int GetItemCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    QRect DisplayRect() const;
};

class UpDown : public Window {
public:
    UpDown() = default;
    explicit UpDown(UpDownWidget* spin) : Window(spin) {}
    UpDownWidget* Widget() const { return static_cast<UpDownWidget*>(m_widget.data()); }
    void SetRange(int lower, int upper);
    void GetRange(int* lower, int* upper) const;
    int SetPos(int pos);
    int GetPos() const;
};

class Static : public Window {
public:
    Static() = default;
    explicit Static(QLabel* label) : Window(label) {}
    QLabel* Widget() const { return static_cast<QLabel*>(m_widget.data()); }
    void SetPixmap(const QPixmap& pixmap);
};

// The id a control was created with (IDC_STATIC when it has none).
int ControlId(const QWidget* widget);

} // namespace ui
