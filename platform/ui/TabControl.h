// A tab control as dialogs know it: a strip of tabs over (or under) a display area in which the
// program places its own child windows. Selecting a tab only reports the change; what is shown
// in the display area is the program's business.
#pragma once

#include <QTabBar>
#include <QWidget>

#include <functional>
#include <string>

namespace ui {

class TabControlWidget : public QWidget {
public:
    struct Options {
        bool bottom = false;     // strip below the display area
        bool fixedWidth = false; // every tab as wide as the widest
        bool hotTrack = true;
        bool takesFocus = true;
    };

    explicit TabControlWidget(QWidget* parent = nullptr);
    TabControlWidget(const Options& options, QWidget* parent);

    // Called when the user selects another tab (not when the program does).
    void SetSelChange(std::function<void()> onSelChange) { m_onSelChange = std::move(onSelChange); }

    int InsertItem(int index, const std::string& caption);
    bool DeleteAllItems();
    int GetItemCount() const { return m_bar->count(); }
    std::string GetItemText(int index) const;
    // -1 when no tab is selected.
    int GetCurSel() const { return m_bar->currentIndex(); }
    // Returns the previous selection, or -1 when index is not a tab.
    int SetCurSel(int index);
    // Moves the selection by step tabs, wrapping round, and reports it as the user's choice
    // (Ctrl+Tab / Ctrl+PgDn is +1, Ctrl+Shift+Tab / Ctrl+PgUp is -1).
    void SelectStep(int step);
    // The part of the control that the tab strip leaves free, in the control's coordinates.
    QRect DisplayRect() const;
    QTabBar* Bar() const { return m_bar; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PlaceBar();
    void InstallPageKeys();

    Options m_options;
    QTabBar* m_bar;
    std::function<void()> m_onSelChange;
    int m_programmatic = 0;
};

} // namespace ui
