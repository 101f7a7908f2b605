#include "tests/support/TestEnvironment.h"

#include "platform/profile/Profile.h"
#include "tests/support/Environment.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

namespace testing_support {

std::string MakeTempDir(const char* prefix)
{
    // A name nobody has taken: create_directory makes it only where none stands.
    thread_local std::mt19937_64 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                           (prefix + std::to_string(random() % 1000000000));
        std::error_code error;
        if (std::filesystem::create_directory(path, error)) {
            std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::replace, error);
            return path.string();
        }
    }
    throw std::runtime_error("no temporary folder could be made");
}

void RemoveTree(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

ScopedSettingsDir::ScopedSettingsDir() : m_path(MakeTempDir("vireo-settings-"))
{
    profile::SetStoreDirectory(m_path);
    // The audit trail's default place goes with the store: no test records into the user's.
    if (const char* state = std::getenv("XDG_STATE_HOME"))
        m_oldState = state;
    SetEnvironment("XDG_STATE_HOME", m_path);
}

ScopedSettingsDir::~ScopedSettingsDir()
{
    if (m_oldState)
        SetEnvironment("XDG_STATE_HOME", *m_oldState);
    else
        ClearEnvironment("XDG_STATE_HOME");
    profile::SetStoreDirectory({});
    RemoveTree(m_path);
}

ScopedConfigHome::ScopedConfigHome() : m_path(MakeTempDir("vireo-config-"))
{
    if (const char* previous = std::getenv("XDG_CONFIG_HOME"))
        m_previous = previous;
    SetEnvironment("XDG_CONFIG_HOME", m_path);
    std::filesystem::create_directories(m_path + "/VireoStudio");
}

ScopedConfigHome::~ScopedConfigHome()
{
    if (m_previous)
        SetEnvironment("XDG_CONFIG_HOME", *m_previous);
    else
        ClearEnvironment("XDG_CONFIG_HOME");
    RemoveTree(m_path);
}

void ScopedConfigHome::WriteInventory(const std::string& text) const
{
    std::ofstream(Inventory(), std::ios::binary) << text;
}

std::string ScopedConfigHome::ReadInventory() const
{
    std::ifstream in(Inventory(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

LogRecorder::LogRecorder()
{
    g_pLogDlg.store(this);
}

LogRecorder::~LogRecorder()
{
    g_pLogDlg.store(nullptr);
}

int LogRecorder::AddCommLog(const char* text)
{
    std::lock_guard lock(m_mutex);
    m_comm.emplace_back(text);
    return 0;
}

int LogRecorder::AddSeqLog(const char* text)
{
    std::lock_guard lock(m_mutex);
    m_seq.emplace_back(text);
    return 0;
}

std::vector<std::string> LogRecorder::Comm() const
{
    std::lock_guard lock(m_mutex);
    return m_comm;
}

std::vector<std::string> LogRecorder::Seq() const
{
    std::lock_guard lock(m_mutex);
    return m_seq;
}

void LogRecorder::Clear()
{
    std::lock_guard lock(m_mutex);
    m_comm.clear();
    m_seq.clear();
}

MessageBoxRecorder::MessageBoxRecorder()
{
    m_previous = SetMessageBoxHook(
        [this](const std::string& text, const std::string& caption, MsgIcon icon) {
            std::lock_guard lock(m_mutex);
            m_boxes.push_back({text, caption, icon});
        });
    m_previousQuestion =
        SetQuestionHook([this](const std::string& text, const std::string& caption) {
            std::lock_guard lock(m_mutex);
            m_questions.push_back({text, caption, MsgIcon::Question});
            return m_yes;
        });
    m_previousChanges = SetChangesHook([this](const std::string& text, const std::string& caption) {
        std::lock_guard lock(m_mutex);
        m_questions.push_back({text, caption, MsgIcon::Question});
        return m_choice;
    });
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    SetChangesHook(std::move(m_previousChanges));
    SetQuestionHook(std::move(m_previousQuestion));
    SetMessageBoxHook(std::move(m_previous));
}

std::vector<RecordedBox> MessageBoxRecorder::Boxes() const
{
    std::lock_guard lock(m_mutex);
    return m_boxes;
}

std::vector<RecordedBox> MessageBoxRecorder::Questions() const
{
    std::lock_guard lock(m_mutex);
    return m_questions;
}

void MessageBoxRecorder::Answer(bool yes)
{
    std::lock_guard lock(m_mutex);
    m_yes = yes;
}

void MessageBoxRecorder::Answer(ChangesChoice choice)
{
    std::lock_guard lock(m_mutex);
    m_choice = choice;
}

void UseSimulatedCameraPort(CComIF& facade, const std::string& path, int timeoutMs)
{
    facade.PortType = PORT_RS232C;
    CComSettings& s = facade.m_Rs232c.m_Settings;
    s.PortName = path;
    s.BaudRate = 9600;
    s.ByteSize = 8;
    s.HsTimeOut = timeoutMs;
    s.Prefix = 2;
    s.Suffix = 3;
}

} // namespace testing_support
