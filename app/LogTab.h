// One tab of the log window: a running text, cut to whole lines of at most 255 characters and
// kept near 8 KB, shown in a multi-line edit box with the newest line in view.
#pragma once

#include "platform/ui/Dialog.h"

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>

class CLogTab : public ui::Dialog {
public:
    static constexpr std::size_t kLineMax = 255;  // characters of one appended line
    static constexpr std::size_t kTextMax = 8192; // past this the oldest part goes
    static constexpr std::size_t kTrimCount = 512;

    CLogTab(int templateId, int editId);

    // Appends one line (and CR LF). Any thread may call it; the lines keep the order of the
    // calls, and the edit box follows on the user-interface thread.
    void AppendLine(const char* text);
    // Empties the text and the edit box (user-interface thread).
    void Clear();
    // A copy of the whole text.
    std::string Text() const;
    int EditId() const { return m_editId; }
    // What the edit box shows for a log text.
    static QString ShownText(const std::string& log);

protected:
    bool OnInitDialog() override;

private:
    void RequestShow();
    void ShowText();

    const int m_editId;
    mutable std::mutex m_mutex;
    std::string m_strLog; // guarded by m_mutex; what is shown, cleared and saved
    std::atomic<bool> m_showPending{false};
};

// The communication log: every status record, frame sent and frame received.
class CLogTabComm : public CLogTab {
public:
    CLogTabComm();
};

// The sequence log: one line per named camera operation.
class CLogTabSeq : public CLogTab {
public:
    CLogTabSeq();
};
