// Progress of several cameras on a terminal: one line per camera, rewritten in place.
#pragma once

#include <cstddef>
#include <mutex>
#include <string>
#include <vector>

namespace vireoctl {

class ProgressLines {
public:
    // Draws nothing unless enabled (standard error is a terminal and no log is written there).
    ProgressLines(std::vector<std::string> labels, bool enabled);
    ~ProgressLines();
    ProgressLines(const ProgressLines&) = delete;
    ProgressLines& operator=(const ProgressLines&) = delete;

    bool Enabled() const { return m_enabled; }
    // Called from any camera's thread.
    void Update(std::size_t line, std::size_t done, std::size_t total);
    // The camera's last word on its line: "done" or "failed".
    void Finish(std::size_t line, bool ok);

private:
    void Draw(std::size_t line, const std::string& text);

    std::vector<std::string> m_labels;
    bool m_enabled;
    std::mutex m_mutex; // one rewrite at a time
};

} // namespace vireoctl
