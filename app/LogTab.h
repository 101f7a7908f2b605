// One tab of the log window: a running text, cut to whole lines of at most 255 characters and
// kept near 8 KB, shown in a multi-line edit box with the newest line in view.
#pragma once

#include "platform/ui/Dialog.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>

class QPlainTextEdit;

class CLogTab : public ui::Dialog {
public:
    static constexpr std::size_t kLineMax = 255;  // characters of one appended line
    static constexpr std::size_t kTextMax = 8192; // past this the oldest part goes
    static constexpr std::size_t kTrimCount = 512;

    CLogTab(int templateId, int editId);

    // Appends one line (and CR LF). Any thread may call it; the lines keep the order of the
    // calls. Lines from another thread or from within a user action wait in one batch for one
    // queued update, and other lines of the user-interface thread join a batch that waits;
    // otherwise the visible edit box takes the line at once. A hidden box takes its lines when
    // it is shown.
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
    void showEvent(QShowEvent* event) override;

private:
    // One line of the text as the edit box holds it: where its CR LF ends in the stream of all
    // bytes ever appended, and how many characters it takes in the box with its line break.
    struct BoxLine {
        std::uint64_t end;
        int length;
    };

    // Brings the edit box up to the text, when it is visible: drops the lines the text has
    // dropped and appends the lines added since (user-interface thread).
    void TakePending();
    // Appends the shown form of whole lines beginning at stream offset from to out and records
    // them in m_boxLines.
    void AddBoxLines(const std::string& bytes, std::uint64_t from, QString& out);
    void ScrollToNewest();
    QPlainTextEdit* Box() const;

    const int m_editId;

    mutable std::mutex m_mutex;
    std::string m_strLog;         // guarded; what is shown, cleared and saved
    std::uint64_t m_logStart = 0; // guarded; stream offset of m_strLog's first byte
    bool m_updatePosted = false;  // guarded; a queued update will take the pending batch

    // What the edit box holds; user-interface thread only.
    std::deque<BoxLine> m_boxLines;
    std::uint64_t m_boxFrom = 0; // stream offset of the box's first byte
    std::uint64_t m_boxTo = 0;   // stream offset up to which the box has taken the text
    bool m_boxTyped = false;     // the user typed into the box: the next update rebuilds it
    bool m_updating = false;     // our own edits of the box are under way
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
