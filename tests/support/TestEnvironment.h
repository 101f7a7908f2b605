// Test fixtures' building blocks: a private settings store, and recorders for the log window
// and message boxes.
#pragma once

#include "comm/ComIF.h"
#include "platform/log/LogWriter.h"
#include "platform/msgbox/MessageBox.h"

#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// Points a facade's RS-232C port at a simulated camera's pseudo-terminal: 9600 baud, 8 data bits,
// STX/ETX framing, the given reply time-out.
void UseSimulatedCameraPort(CComIF& facade, const std::string& path, int timeoutMs);

// Points the settings store at a fresh temporary directory for the object's lifetime.
class ScopedSettingsDir {
public:
    ScopedSettingsDir();
    ~ScopedSettingsDir();
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
    std::optional<std::string> m_oldState;
};

// XDG_CONFIG_HOME set to a fresh temporary directory for the object's lifetime, so that the camera
// inventory is read from (and written to) Inventory() there, not the user's.
class ScopedConfigHome {
public:
    ScopedConfigHome();
    ~ScopedConfigHome();
    ScopedConfigHome(const ScopedConfigHome&) = delete;
    ScopedConfigHome& operator=(const ScopedConfigHome&) = delete;
    std::string Inventory() const { return m_path + "/VireoStudio/cameras.toml"; }
    void WriteInventory(const std::string& text) const;
    std::string ReadInventory() const;

private:
    std::string m_path;
    std::optional<std::string> m_previous;
};

// Stands in for the log window while it lives.
class LogRecorder final : public ILogWriter {
public:
    LogRecorder();
    ~LogRecorder() override;
    int AddCommLog(const char* text) override;
    int AddSeqLog(const char* text) override;
    std::vector<std::string> Comm() const;
    std::vector<std::string> Seq() const;
    void Clear();

private:
    mutable std::mutex m_mutex;
    std::vector<std::string> m_comm;
    std::vector<std::string> m_seq;
};

struct RecordedBox {
    std::string text;
    std::string caption;
    MsgIcon icon;
};

// Records message boxes instead of showing them while it lives, and answers Yes/No questions
// with the answer set (No until set); questions about unapplied changes are recorded with them
// and answered with the choice set (Discard until set, as before they were asked).
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    std::vector<RecordedBox> Boxes() const;
    std::vector<RecordedBox> Questions() const;
    void Answer(bool yes);
    void Answer(ChangesChoice choice);

private:
    mutable std::mutex m_mutex;
    std::vector<RecordedBox> m_boxes;
    std::vector<RecordedBox> m_questions;
    bool m_yes = false;
    ChangesChoice m_choice = ChangesChoice::Discard;
    MessageBoxHook m_previous;
    QuestionHook m_previousQuestion;
    ChangesHook m_previousChanges;
};

// A temporary directory removed with everything in it.
std::string MakeTempDir(const char* prefix);
void RemoveTree(const std::string& path);

} // namespace testing_support
