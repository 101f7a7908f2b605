// Base of every camera setting page: a child dialog inside a model's tab control that reads its
// registers on Refresh (and, by the page's rule, when the view shows it), keeps the values the
// user chooses, and writes them on Apply. Scroll bars bound here follow one stepping and
// clamping rule and keep their read-outs current.
//
// The page knows the state of each of its values: a value is shown, and written, only once it
// was read from the camera or set by the user. Until then its controls are disabled and its
// read-outs show that nothing was read.
#pragma once

#include "comm/Result.h"
#include "pages/FailureText.h"
#include "pages/Readout.h"
#include "platform/ui/Dialog.h"

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace pages {

// When a show notification reads the camera.
enum class RefreshOn {
    Show,  // when the page is shown; never when it is left
    Never, // only its own buttons act (memory and register pages)
};

// What the page knows of one of its values.
enum class ValueState : std::uint8_t {
    NotRead, // never read, or its last read failed: not shown, not written
    Read,    // as the camera last gave it (or took it on Apply)
    Changed, // set by the user since
};

// The result a page takes for a read while its slot holds no map: nothing was read, and there is
// nothing for the user to be told.
inline const CResult kNoMap{LINK_NO_PORT};

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
    // Another camera may be on the port now, or none: what the page says of the last one's
    // answers goes, and every value is not read until it is read again.
    virtual void ForgetCamera();

    RefreshOn RefreshRule() const { return m_refreshOn; }

    // The page value of a bound bar (for tests and the read-outs).
    int BarValue(int barId) const;

    // The state of a page value, by its address; a value the page never marked is not read.
    ValueState StateOf(const void* value) const;
    bool Known(const void* value) const { return StateOf(value) != ValueState::NotRead; }

    // True while a value was changed by the user and not applied since.
    bool HasChanges() const;
    // Called whenever a value's state was set, so that the owner can show the page's changes.
    void SetChangesListener(std::function<void()> listener) { m_onChanges = std::move(listener); }

    // Whether pages may read the camera now (a port is open); the owner of the port sets the
    // rule, and an empty one lets them. Pages that may not read do not read when shown.
    static void SetReadRule(std::function<bool()> mayRead);
    static bool MayRead();

    // The text of the accessible description of a control whose value is changed, not applied.
    static constexpr const char* kChangedDescription = "Changed, not applied";

protected:
    bool OnInitDialog() override;
    void OnShowWindow(bool show) override;
    void OnHScroll(int code, int pos, ui::ScrollBar bar) final;

    // Binds a bar to its page value: its range, read-outs and steps. The bar and its read-outs
    // show the value's state.
    template <class T>
    void BindBar(int barId, int minimum, int maximum, T& value,
                 std::initializer_list<Readout> readouts, BarSteps steps = {})
    {
        AddBar(
            &value, barId, minimum, maximum, [&value] { return static_cast<int>(value); },
            [&value](int v) { value = static_cast<T>(v); }, readouts, steps);
    }

    // Controls that show a value: enabled only while the value is known.
    void BindControls(const void* value, std::initializer_list<int> ids);
    // Sets a value's state and shows it: its controls enabled or not, its bars' read-outs.
    void SetState(const void* value, ValueState state);
    // Marks a value from the result of reading it: read on success; else not read, with the
    // failure told to the running action.
    bool TakeRead(const void* value, const CResult& result);
    // Reads one value through read(T*), which gives a CResult; a failed read leaves the value
    // as it was and marks it not read.
    template <class T, class Read> bool ReadValue(T& value, Read&& read)
    {
        T got = value;
        if (!TakeRead(&value, read(&got)))
            return false;
        value = got;
        return true;
    }
    // Reads a bound bar's value through a map's operation (no map: not read) and, once read,
    // shows it on the bar.
    template <class T, class Map, class Owner>
    bool ReadBar(int barId, T& value, Map* map, CResult (Owner::*get)(T*))
    {
        if (!ReadValue(value, [&](T* v) { return map ? (map->*get)(v) : kNoMap; }))
            return false;
        ShowBar(barId, static_cast<int>(value));
        return true;
    }
    // Writes one value through write(value) when it is known; a failure is told to the running
    // action. False when nothing was written or the write failed.
    template <class T, class Write> bool WriteValue(const T& value, Write&& write)
    {
        if (!Known(&value))
            return false;
        const CResult result = write(value);
        NoteFailure(result);
        if (result.Failed())
            return false;
        SetState(&value, ValueState::Read);
        return true;
    }
    // The user set a value through its control.
    void MarkChanged(const void* value) { SetState(value, ValueState::Changed); }
    // The same through one of the value's controls: only that control is marked.
    void MarkChanged(const void* value, int id)
    {
        m_changedIds.insert(id);
        MarkChanged(value);
    }
    // Tells the running action of a failure, for the box the user sees when it ends.
    static void NoteFailure(const CResult& result);
    // Shows text in a box, or the not-read mark while value is not known.
    void ShowKnownText(int id, const void* value, const std::string& text);
    // Enables every bound control by its value's state and the page's own rule.
    void ShowStates();
    // The data exchange of ui::Dialog; showing values leaves the choices of values that were not
    // read empty (no radio button chosen, check boxes clear, no list item current), so that no
    // control shows a value the camera did not give.
    bool UpdateData(bool saveAndValidate = true);
    // The page's own rule on top of the value's state (a control that would not be written).
    virtual bool ControlEditable(int /*id*/) const { return true; }

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
        const void* value;
        int id;
        int minimum;
        int maximum;
        std::function<int()> get;
        std::function<void(int)> set;
        std::vector<Readout> readouts;
        BarSteps steps;
    };
    void AddBar(const void* value, int barId, int minimum, int maximum, std::function<int()> get,
                std::function<void(int)> set, std::initializer_list<Readout> readouts,
                BarSteps steps);
    const Bar* FindBar(int barId) const;
    // A value typed into a bar's read-out box (hexadecimal or decimal, as the box shows it): one
    // within the bar's range becomes the bar's value; anything else puts the box's text back.
    void TakeTypedValue(int barId, const Readout& readout);
    // Clears the choice controls of the values that were not read.
    void ClearUnread();
    // Bold, and described as changed, while the value is changed and not applied.
    void ShowChanged(const void* value, bool changed);

    RefreshOn m_refreshOn;
    std::function<void()> m_onChanges;
    std::vector<Bar> m_bars;
    std::map<const void*, ValueState> m_states;
    std::multimap<const void*, int> m_controls; // value -> ids of the controls that show it
    std::set<int> m_changedIds; // controls the user changed a value through, while changed
    std::multimap<const void*, int> m_knownTexts; // value -> boxes ShowKnownText fills
};

// A signed decimal as the pages read list texts: leading blanks and a sign accepted, the number
// ends at the first non-digit, no digits give 0. Saturates at the 64-bit limits.
long long ParseDecimal(const std::string& text);

} // namespace pages
