// One tab of the log window: a running text of records, each cut to 255 characters and stamped
// with its time, kept near 8 KB by dropping the oldest whole records, shown read-only in a
// multi-line edit box with the newest line in view.
#pragma once

#include "platform/ui/Dialog.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>

class QPlainTextEdit;

class CLogTab : public ui::Dialog {
public:
    static constexpr std::size_t kLineMax = 255;  // characters of one appended line
    static constexpr std::size_t kTextMax = 8192; // past this the oldest records go
    static constexpr std::size_t kTrimCount = 512;

    CLogTab(int templateId, int editId);

    // Appends one record (and CR LF), stamped with the time it is made. Any thread may call it;
    // the records keep the order of the calls. Records from another thread or from within a user
    // action wait in one batch for one queued update, and other records of the user-interface
    // thread join a batch that waits; otherwise the visible edit box takes the record at once.
    // A hidden box takes its records when it is shown.
    void AppendLine(const char* text);
    // Whether the text shows each record's time stamp; every record kept is shown anew.
    void SetStamped(bool stamped);
    bool Stamped() const;
    // Empties the text and the edit box (user-interface thread).
    void Clear();
    // A copy of the whole text.
    std::string Text() const;
    int EditId() const { return m_editId; }
    // What the edit box shows for a log text.
    static QString ShownText(const std::string& log);
    // "hh:mm:ss.mmm +s.mmm " for a record at local time now that came sinceLast after the
    // previous one (none: +0.000).
    static std::string TimeStamp(std::chrono::system_clock::time_point now,
                                 std::chrono::steady_clock::duration sinceLast);

protected:
    bool OnInitDialog() override;
    void showEvent(QShowEvent* event) override;
    // The edit box fills the tab's page.
    void resizeEvent(QResizeEvent* event) override;

private:
    // One record as it was made: its time stamp and its text, cut, without CR LF.
    struct Record {
        std::string stamp;
        std::string line;
    };
    // One line of the text as the edit box holds it: where its CR LF ends in the stream of all
    // bytes ever appended, and how many characters it takes in the box with its line break.
    struct BoxLine {
        std::uint64_t end;
        int length;
    };

    // The record's line in the text (m_mutex held).
    std::string TextOf(const Record& record) const;
    // Drops the oldest whole records while the text is too long (m_mutex held).
    void Trim();
    // Brings the edit box up to the text, when it is visible: drops the lines the text has
    // dropped and appends the lines added since (user-interface thread).
    void TakePending();
    // Asks for TakePending from the event loop, or runs it at once (the lock not held).
    void Deliver(bool now, bool post, bool batchWaiting);
    // Appends the shown form of whole lines beginning at stream offset from to out and records
    // them in m_boxLines.
    void AddBoxLines(const std::string& bytes, std::uint64_t from, QString& out);
    void ScrollToNewest();
    QPlainTextEdit* Box() const;

    const int m_editId;

    mutable std::mutex m_mutex;
    std::deque<Record> m_records; // guarded; the records the text holds
    std::string m_strLog;         // guarded; what is shown, cleared and saved
    std::uint64_t m_logStart = 0; // guarded; stream offset of m_strLog's first byte
    bool m_updatePosted = false;  // guarded; a queued update will take the pending batch
    bool m_stamped = false;       // guarded
    bool m_rewritten = false;     // guarded; the text was made anew: the box is rebuilt
    std::optional<std::chrono::steady_clock::time_point> m_last; // guarded; the last record's

    // What the edit box holds; user-interface thread only.
    std::deque<BoxLine> m_boxLines;
    std::uint64_t m_boxFrom = 0; // stream offset of the box's first byte
    std::uint64_t m_boxTo = 0;   // stream offset up to which the box has taken the text
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
