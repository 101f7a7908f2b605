// The connected socket under a network serial device: waiting for it to become readable
// (woken when the event mask is cleared), reading what is there, and sending within the write
// time-out. A connection once lost stays lost; its reason is kept. SocketDevice holds what the
// network devices over it do alike.
#pragma once

#include "platform/serial/SerialDevice.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace serial {

// The printable part of what a server said (at most max characters), for a message.
std::string PrintableText(const std::string& bytes, std::size_t max = 80);
// "the server closed the connection", with what it said before if that was printable.
std::string ServerClosedDetail(const std::string& said);

class SocketLink {
public:
    SocketLink() = default;
    ~SocketLink();
    SocketLink(const SocketLink&) = delete;
    SocketLink& operator=(const SocketLink&) = delete;

    // Connects to a network port's host and port within timeoutMs. Returns 0 or an error for
    // NetworkOpenFailureReason.
    int Connect(const PortAddress& address, int timeoutMs);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    int Descriptor() const { return m_fd; }
    // What the reply wait blocks on: the socket itself on POSIX, its network event on Windows.
    int ReadableDescriptor() const;

    void SetEventMask(unsigned mask);
    unsigned EventMask() const { return m_mask.load(); }

    enum class Wait { Readable, Woken, TimedOut };
    // Blocks until the socket polls readable, the event mask is cleared, or timeoutMs pass
    // (-1: no limit).
    Wait WaitReadable(int timeoutMs);

    // Reads what the socket holds now, without blocking: the count, 0 when nothing is there,
    // or -1 once the connection is lost (Lost() then says why).
    int Receive(std::uint8_t* buffer, int max) { return Receive(buffer, max, 0); }
    // Whether bytes wait, without taking them: 1, 0 when none, -1 once the connection is lost.
    int Peek();
    // Copies up to max waiting bytes without taking them; as Receive otherwise.
    int PeekBytes(std::uint8_t* buffer, int max);
    // Sends n bytes within timeoutMs.
    WriteOutcome Send(const std::uint8_t* data, int n, int timeoutMs, int& written, int& errorCode);
    // Bytes the kernel holds for reading (telnet commands included).
    int Pending() const;

    bool IsLost() const;
    std::string LostReason() const;

private:
    int Receive(std::uint8_t* buffer, int max, int flags);
    void MarkLost(const std::string& reason);

    int m_fd = -1;
    int m_wakeRead = -1;  // POSIX: a pipe's ends; Windows: an event, in m_wakeRead
    int m_wakeWrite = -1; // Windows: the socket's network event
    std::atomic<unsigned> m_mask{0};
    mutable std::mutex m_lostMutex;
    std::string m_lost; // why the connection ended; empty while it stands
};

// A serial device over a SocketLink: the event mask lives in the link, whose socket is the
// descriptor to poll.
class SocketDevice : public ISerialDevice {
public:
    bool Watch(unsigned events) override
    {
        if (!m_link.IsOpen())
            return false;
        m_link.SetEventMask(events);
        return true;
    }
    void EndWait() override { m_link.SetEventMask(0); }
    int PollDescriptor() const override { return m_link.ReadableDescriptor(); }

protected:
    SocketLink m_link;
};

} // namespace serial
