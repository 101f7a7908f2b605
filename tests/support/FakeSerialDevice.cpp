#include "tests/support/FakeSerialDevice.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

namespace testing_support {

class FakeSerialDevice final : public serial::ISerialDevice {
public:
    explicit FakeSerialDevice(std::shared_ptr<FakeLine> line) : m_line(std::move(line)) {}
    ~FakeSerialDevice() override { Close(); }

    int Open(const serial::PortAddress& address) override
    {
        std::lock_guard lock(m_line->m_mutex);
        m_line->m_path = address.path;
        if (m_line->openError)
            return m_line->openError;
        CloseBellLocked();
        if (::pipe2(m_bell.fds, O_CLOEXEC | O_NONBLOCK) != 0)
            return errno;
        m_line->m_bells.push_back(&m_bell);
        m_line->m_open = true;
        m_line->m_hungUp = false;
        ++m_line->m_openCount;
        m_line->RingLocked();
        return 0;
    }
    void Close() override
    {
        std::lock_guard lock(m_line->m_mutex);
        m_line->m_open = false;
        CloseBellLocked();
    }
    bool Configure(const serial::LineSettings&) override { return m_line->configureOk; }
    bool Purge() override { return m_line->purgeOk; }
    bool Watch(unsigned events) override
    {
        std::lock_guard lock(m_line->m_mutex);
        if (!m_line->eventMaskOk)
            return false;
        m_line->m_mask = events;
        m_line->m_changed.notify_all();
        return true;
    }
    void EndWait() override
    {
        std::lock_guard lock(m_line->m_mutex);
        m_line->m_mask = 0;
        m_line->m_changed.notify_all();
    }
    unsigned WaitEvent(std::string& failure) override
    {
        std::unique_lock lock(m_line->m_mutex);
        for (;;) {
            if (m_line->m_mask == 0)
                return 0;
            if (m_line->m_hungUp) {
                failure = "device hung up";
                return 0;
            }
            // Like poll(), bytes still waiting are reported again.
            if (!m_line->m_pieces.empty() && (m_line->m_mask & serial::EventReceived))
                return serial::EventReceived;
            if (!m_line->m_events.empty()) {
                const unsigned events = m_line->m_events.front() & m_line->m_mask;
                m_line->m_events.pop_front();
                m_line->m_changed.notify_all();
                if (events)
                    return events;
                continue;
            }
            m_line->m_changed.wait(lock);
        }
    }
    int Read(std::uint8_t* buffer, int max, int& errorCode) override
    {
        std::lock_guard lock(m_line->m_mutex);
        errorCode = 0;
        if (m_line->readError) {
            errorCode = std::exchange(m_line->readError, 0);
            return -1;
        }
        if (m_line->m_pieces.empty())
            return 0;
        std::string& piece = m_line->m_pieces.front();
        const int n = std::min(max, static_cast<int>(piece.size()));
        std::memcpy(buffer, piece.data(), static_cast<std::size_t>(n));
        piece.erase(0, static_cast<std::size_t>(n));
        if (piece.empty())
            m_line->m_pieces.pop_front();
        m_line->RingLocked();
        m_line->m_changed.notify_all();
        return n;
    }
    serial::WriteOutcome Write(const std::uint8_t* data, int n, int, int& written,
                               int& errorCode) override
    {
        FakeLine::Responder responder;
        std::string text(reinterpret_cast<const char*>(data), static_cast<std::size_t>(n));
        {
            std::lock_guard lock(m_line->m_mutex);
            errorCode = m_line->writeError;
            if (m_line->writeOutcome == serial::WriteOutcome::Refused) {
                written = 0;
                return serial::WriteOutcome::Refused;
            }
            written = std::max(0, n - m_line->writeShortBy);
            responder = m_line->m_responder;
        }
        const std::vector<std::string> pieces =
            responder ? responder(text) : std::vector<std::string>{};
        // The write and its answer appear together: whoever sees the one sees the other.
        std::lock_guard lock(m_line->m_mutex);
        m_line->m_written.push_back(text);
        for (const std::string& piece : pieces)
            if (!piece.empty())
                m_line->m_pieces.push_back(piece);
        m_line->RingLocked();
        m_line->m_changed.notify_all();
        return m_line->writeOutcome;
    }
    bool HasModemLines() const override { return true; }
    bool GetModemLines(serial::ModemLines& lines) override
    {
        std::lock_guard lock(m_line->m_mutex);
        if (!m_line->linesReadable)
            return false;
        lines = m_line->lines;
        return true;
    }
    int PollDescriptor() const override
    {
        std::lock_guard lock(m_line->m_mutex);
        return m_bell.fds[0];
    }

private:
    void CloseBellLocked()
    {
        auto& bells = m_line->m_bells;
        bells.erase(std::remove(bells.begin(), bells.end(), &m_bell), bells.end());
        for (int& fd : m_bell.fds) {
            if (fd >= 0)
                ::close(fd);
            fd = -1;
        }
        m_bell.rung = false;
    }

    std::shared_ptr<FakeLine> m_line;
    FakeLine::Bell m_bell;
};

void FakeLine::RingLocked()
{
    const bool waiting = !m_pieces.empty();
    for (Bell* bell : m_bells) {
        if (waiting && !bell->rung && bell->fds[1] >= 0) {
            const char byte = 0;
            bell->rung = ::write(bell->fds[1], &byte, 1) == 1;
        } else if (!waiting && bell->rung) {
            char byte;
            bell->rung = ::read(bell->fds[0], &byte, 1) != 1;
        }
    }
}

void FakeLine::SetResponder(Responder responder)
{
    std::lock_guard lock(m_mutex);
    m_responder = std::move(responder);
}

void FakeLine::Deliver(const std::string& bytes)
{
    std::lock_guard lock(m_mutex);
    if (!bytes.empty())
        m_pieces.push_back(bytes);
    RingLocked();
    m_changed.notify_all();
}

void FakeLine::RaiseEvent(unsigned events)
{
    std::lock_guard lock(m_mutex);
    m_events.push_back(events);
    m_changed.notify_all();
}

void FakeLine::HangUp()
{
    std::lock_guard lock(m_mutex);
    m_hungUp = true;
    // With its write end closed a pipe polls as hung up, as a vanished terminal does.
    for (Bell* bell : m_bells) {
        if (bell->fds[1] >= 0)
            ::close(bell->fds[1]);
        bell->fds[1] = -1;
    }
    m_changed.notify_all();
}

bool FakeLine::WaitIdle(std::size_t writes, int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return m_written.size() >= writes && m_pieces.empty() && m_events.empty();
    });
}

std::vector<std::string> FakeLine::Written() const
{
    std::lock_guard lock(m_mutex);
    return m_written;
}

std::string FakeLine::PathOpened() const
{
    std::lock_guard lock(m_mutex);
    return m_path;
}

bool FakeLine::IsOpen() const
{
    std::lock_guard lock(m_mutex);
    return m_open;
}

int FakeLine::OpenCount() const
{
    std::lock_guard lock(m_mutex);
    return m_openCount;
}

std::unique_ptr<serial::ISerialDevice> FakeLine::MakeDevice()
{
    // The device shares this line; the test's shared_ptr keeps it alive.
    return std::make_unique<FakeSerialDevice>(
        std::shared_ptr<FakeLine>(std::shared_ptr<FakeLine>{}, this));
}

} // namespace testing_support
