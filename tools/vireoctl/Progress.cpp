#include "tools/vireoctl/Progress.h"

#include "tools/vireoctl/Session.h"

#include <cstdio>

namespace vireoctl {

ProgressLines::ProgressLines(std::vector<std::string> labels, bool enabled)
    : m_labels(std::move(labels)), m_enabled(enabled && !m_labels.empty())
{
    if (!m_enabled)
        return;
    // Message boxes of the cameras wait until the lines are done, so that they stay in place.
    HoldMessageLines(true);
    for (const std::string& label : m_labels)
        std::fprintf(stderr, "%s\tstarting\n", label.c_str());
    std::fflush(stderr);
}

ProgressLines::~ProgressLines()
{
    if (m_enabled)
        HoldMessageLines(false);
}

void ProgressLines::Update(std::size_t line, std::size_t done, std::size_t total)
{
    if (!m_enabled || line >= m_labels.size())
        return;
    Draw(line, m_labels[line] + "\t" + std::to_string(done) + " of " + std::to_string(total));
}

void ProgressLines::Finish(std::size_t line, bool ok)
{
    if (!m_enabled || line >= m_labels.size())
        return;
    Draw(line, m_labels[line] + (ok ? "\tdone" : "\tfailed"));
}

void ProgressLines::Draw(std::size_t line, const std::string& text)
{
    std::lock_guard lock(m_mutex);
    // The cursor rests below the last line: up to the camera's line, rewrite it, back down.
    const std::size_t up = m_labels.size() - line;
    std::fprintf(stderr, "\x1b[%zuA\r\x1b[2K%s\x1b[%zuB\r", up, text.c_str(), up);
    std::fflush(stderr);
}

} // namespace vireoctl
