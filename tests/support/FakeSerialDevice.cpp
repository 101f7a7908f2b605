#include "tests/support/FakeSerialDevice.h"

#include <algorithm>
#include <chrono>
#include <utility>
#include <cerrno>
#include <cstring>

namespace testing_support {

class FakeSerialDevice final : public serial::ISerialDevice {
public:
    explicit FakeSerialDevice(std::shared_ptr<FakeLine> line) : m_line(std::move(line)) {}

    int Open(const std::string& path) override
    {
        std::lock_guard lock(m_line->m_mutex);
        m_line->m_path = path;
        if (m_line->openError)
            return m_line->openError;
        m_line->m_open = true;
        m_line->m_hungUp = false;
        ++m_line->m_openCount;
        return 0;
    }
    void Close() override
    {
        std::lock_guard lock(m_line->m_mutex);
        m_line->m_open = false;
    }
    bool Configure(const serial::LineSettings&) override { return m_line->configureOk; }
    bool SetTimeouts(int, int, int) override { return m_line->timeoutsOk; }
    bool Purge() override { return m_line->purgeOk; }
    bool SetEventMask(unsigned mask) override
    {
        std::lock_guard lock(m_line->m_mutex);
        if (!m_line->eventMaskOk)
            return false;
        m_line->m_mask = mask;
        m_line->m_changed.notify_all();
        return true;
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
            if (!m_line->m_input.empty())
                return serial::EvRxChar & m_line->m_mask;
            if (!m_line->m_events.empty()) {
                FakeLine::Event event = std::move(m_line->m_events.front());
                m_line->m_events.pop_front();
                m_line->m_input += event.bytes;
                return event.mask & m_line->m_mask;
            }
            m_line->m_waiting = true;
            m_line->m_changed.notify_all();
            m_line->m_changed.wait(lock);
            m_line->m_waiting = false;
        }
    }
    unsigned ClearError() override
    {
        std::lock_guard lock(m_line->m_mutex);
        return std::exchange(m_line->m_raisedFlags, 0u);
    }
    int BytesWaiting() override
    {
        std::lock_guard lock(m_line->m_mutex);
        return static_cast<int>(m_line->m_input.size());
    }
    int Read(std::uint8_t* buffer, int max, int& errorCode) override
    {
        std::lock_guard lock(m_line->m_mutex);
        if (m_line->readError) {
            m_line->m_raisedFlags = m_line->errorFlags;
            errorCode = std::exchange(m_line->readError, 0);
            return -1;
        }
        const int n = std::min(max, static_cast<int>(m_line->m_input.size()));
        std::memcpy(buffer, m_line->m_input.data(), static_cast<std::size_t>(n));
        m_line->m_input.erase(0, static_cast<std::size_t>(n));
        errorCode = 0;
        return n;
    }
    serial::WriteOutcome Write(const std::uint8_t* data, int n, int& written,
                               int& errorCode) override
    {
        FakeLine::Responder responder;
        std::string text(reinterpret_cast<const char*>(data), static_cast<std::size_t>(n));
        {
            std::lock_guard lock(m_line->m_mutex);
            errorCode = m_line->writeError;
            if (m_line->writeOutcome != serial::WriteOutcome::Completed)
                m_line->m_raisedFlags = m_line->errorFlags;
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
            m_line->m_events.push_back({serial::EvRxChar, piece});
        m_line->m_changed.notify_all();
        return m_line->writeOutcome;
    }
    bool GetModemLines(serial::ModemLines& lines) override
    {
        std::lock_guard lock(m_line->m_mutex);
        if (!m_line->linesReadable)
            return false;
        lines = m_line->lines;
        return true;
    }
    // Scripted events arrive through WaitEvent alone.
    int PollDescriptor() const override { return -1; }

private:
    std::shared_ptr<FakeLine> m_line;
};

void FakeLine::SetResponder(Responder responder)
{
    std::lock_guard lock(m_mutex);
    m_responder = std::move(responder);
}

void FakeLine::Deliver(const std::string& bytes)
{
    std::lock_guard lock(m_mutex);
    m_events.push_back({serial::EvRxChar, bytes});
    m_changed.notify_all();
}

void FakeLine::RaiseEvent(unsigned mask)
{
    std::lock_guard lock(m_mutex);
    m_events.push_back({mask, {}});
    m_changed.notify_all();
}

void FakeLine::HangUp()
{
    std::lock_guard lock(m_mutex);
    m_hungUp = true;
    m_changed.notify_all();
}

bool FakeLine::WaitIdle(std::size_t writes, int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] {
        return m_written.size() >= writes && m_events.empty() && m_input.empty() && m_waiting;
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
