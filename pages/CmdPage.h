// Base of every camera setting page: a child dialog inside a model's tab control that reads its
// registers on Refresh (and, by the page's rule, when the view shows it), keeps the values the
// user chooses, and writes them on Apply. Scroll bars bound here follow one stepping and
// clamping rule and keep their read-outs current.
#pragma once

#include "pages/Readout.h"
#include "platform/ui/Dialog.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace pages {

// When a show notification reads the camera.
enum class RefreshOn {
    Show,        // when the page is shown
    ShowAndHide, // when it is shown and when it is hidden
    Never,       // only its own buttons act (memory and register pages)
};

// How a bar moves on a line step, and whether it only takes even values.
struct BarSteps {
    int line = 1;
    int page = 10;
    bool evenOnly = false; // an odd new value loses 1 before it is clamped
};

class CCmdPage : public ui::Dialog {
public:
    CCmdPage(int templateId, RefreshOn refreshOn);

    // Reads the page's registers and fills the controls.
    virtual void Refresh() {}
    // Writes the page values to the camera.
    virtual void Apply() {}

    RefreshOn RefreshRule() const { return m_refreshOn; }

    // The page value of a bound bar (for tests and the read-outs).
    int BarValue(int barId) const;

protected:
    void OnShowWindow(bool show) override;
    void OnHScroll(int code, int pos, ui::ScrollBar bar) final;

    // Binds a bar to its page value: its range, read-outs and steps.
    template <class T>
    void BindBar(int barId, int minimum, int maximum, T& value,
                 std::initializer_list<Readout> readouts, BarSteps steps = {})
    {
        AddBar(
            barId, minimum, maximum, [&value] { return static_cast<int>(value); },
            [&value](int v) { value = static_cast<T>(v); }, readouts, steps);
    }

    // Refresh's step for a bar: range, then position, then the page value and the read-outs.
    void ShowBar(int barId, int value);

    // Before a scroll notification is handled (a page that keeps its values in the controls
    // pulls them here).
    virtual void OnBeforeScroll() {}
    // After a bound bar changed its value by a scroll.
    virtual void OnBarChanged(int /*barId*/) {}

    // Sets a box's text through its read-out format.
    void ShowReadouts(int barId);

    // Writes one line to the sequence log of the log window, if there is one.
    static void AddSeqLog(const std::string& line);

    // Shutter-speed list handler: the current list item's text as a number from 0 to maximum
    // goes into speed; anything else leaves speed alone and logs the range line. Nothing
    // happens when no list item is current.
    void OnShutterListChange(int comboId, std::uint16_t& speed, int maximum = 2047);
    // The same rule for a text (what was typed into a combo's edit field).
    static bool TakeShutterText(const std::string& text, int maximum, long long& value);

private:
    struct Bar {
        int id;
        int minimum;
        int maximum;
        std::function<int()> get;
        std::function<void(int)> set;
        std::vector<Readout> readouts;
        BarSteps steps;
    };
    void AddBar(int barId, int minimum, int maximum, std::function<int()> get,
                std::function<void(int)> set, std::initializer_list<Readout> readouts,
                BarSteps steps);
    const Bar* FindBar(int barId) const;

    RefreshOn m_refreshOn;
    std::vector<Bar> m_bars;
};

// A signed decimal as the pages read list texts: leading blanks and a sign accepted, the number
// ends at the first non-digit, no digits give 0. Saturates at the 64-bit limits.
long long ParseDecimal(const std::string& text);

} // namespace pages
