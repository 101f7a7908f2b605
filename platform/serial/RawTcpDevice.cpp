// A serial port served as a raw TCP socket: the bytes of the line and nothing else. Line
// settings and modem lines do not reach the far end.
#include "platform/serial/NetworkDevices.h"

#include "platform/serial/SocketLink.h"

#include <cerrno>

namespace serial {
namespace {

class RawTcpDevice final : public SocketDevice {
public:
    explicit RawTcpDevice(int connectTimeoutMs) : m_connectTimeoutMs(connectTimeoutMs) {}
    ~RawTcpDevice() override { Close(); }

    int Open(const PortAddress& address) override
    {
        return m_link.Connect(address, m_connectTimeoutMs);
    }
    void Close() override { m_link.Close(); }

    // The server's own settings stand; there is nothing to send them with.
    bool Configure(const LineSettings&) override { return m_link.IsOpen(); }

    bool Purge() override
    {
        // What already arrived is stale; the far end's buffers are out of reach.
        std::uint8_t drain[256];
        m_drained.clear();
        for (int i = 0; i < 64; ++i) {
            const int n = m_link.Receive(drain, sizeof drain);
            if (n <= 0)
                break;
            // Kept in case the server said why it closes the connection.
            if (m_drained.size() < 256)
                m_drained.append(reinterpret_cast<const char*>(drain), static_cast<size_t>(n));
        }
        return m_link.IsOpen() && !m_link.IsLost();
    }

    unsigned WaitEvent(std::string& failure) override
    {
        for (;;) {
            const unsigned mask = m_link.EventMask();
            if (mask == 0)
                return 0;
            if (m_link.IsLost()) {
                failure = m_link.LostReason();
                return 0;
            }
            if (m_link.WaitReadable(-1) != SocketLink::Wait::Readable)
                continue; // the loop head sees the cleared mask
            const int state = m_link.Peek();
            if (state > 0)
                return mask & EventReceived;
            if (state < 0) {
                failure = m_link.LostReason();
                return 0;
            }
        }
    }

    int Read(std::uint8_t* buffer, int max, int& errorCode) override
    {
        const int n = m_link.Receive(buffer, max);
        errorCode = n < 0 ? ECONNRESET : 0;
        return n;
    }

    WriteOutcome Write(const std::uint8_t* data, int n, int timeoutMs, int& written,
                       int& errorCode) override
    {
        return m_link.Send(data, n, timeoutMs, written, errorCode);
    }

    // No modem lines travel over a raw socket.
    bool HasModemLines() const override { return false; }
    bool GetModemLines(ModemLines&) override { return false; }

    std::string FailureDetail() const override
    {
        return m_link.IsLost() ? ServerClosedDetail(m_drained) : std::string();
    }

    std::string LostReason() const override
    {
        return m_link.IsLost() ? m_link.LostReason() : std::string();
    }

private:
    int m_connectTimeoutMs;
    std::string m_drained; // what the last Purge discarded
};

} // namespace

std::unique_ptr<ISerialDevice> CreateRawTcpDevice(int connectTimeoutMs)
{
    return std::make_unique<RawTcpDevice>(connectTimeoutMs);
}

} // namespace serial
