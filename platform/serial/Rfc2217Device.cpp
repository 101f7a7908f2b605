// A serial port served by an RFC 2217 access server: telnet with the COM-PORT-OPTION, which
// carries the line settings to the server and brings the modem lines back. libtelnet parses
// the telnet stream and escapes 0xFF in the data both ways.
#include "platform/serial/NetworkDevices.h"

#include "platform/serial/ComPortControl.h"
#include "platform/serial/SocketLink.h"

// Windows has no libtelnet: the codec of our own implements the part used here.
#ifdef _WIN32
#include "platform/serial/TelnetCodec.h"
#else
#include <libtelnet.h>
#endif

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <deque>
#include <mutex>

namespace serial {
namespace {

using Clock = std::chrono::steady_clock;

// Received data kept for the reader; a line full of noise must not grow it without end.
constexpr std::size_t kReceivedMax = 64 * 1024;
constexpr int kReceiveChunk = 4096;
// Telnet output a stalled server has not taken; beyond this it is dropped, not kept growing.
constexpr std::size_t kUnsentMax = 64 * 1024;
// How long telnet negotiation and control output may wait for room in the socket.
constexpr int kControlWriteMs = 3000;

// True when a telnet stream holds a data byte (an escaped 0xFF included), not only commands.
// A command cut off at the end is no data; the parser keeps its state across reads.
bool HoldsData(const std::uint8_t* bytes, int n)
{
    int i = 0;
    while (i < n) {
        if (bytes[i] != TELNET_IAC)
            return true;
        if (i + 1 >= n)
            return false;
        const std::uint8_t command = bytes[i + 1];
        if (command == TELNET_IAC)
            return true;
        if (command == TELNET_SB) {
            int end = i + 2;
            while (end + 1 < n && !(bytes[end] == TELNET_IAC && bytes[end + 1] == TELNET_SE))
                end += bytes[end] == TELNET_IAC ? 2 : 1;
            if (end + 1 >= n)
                return false;
            i = end + 2;
        } else if (command >= TELNET_WILL) {
            i += 3;
        } else {
            i += 2;
        }
    }
    return false;
}

const telnet_telopt_t kTelopts[] = {
    {TELNET_TELOPT_BINARY, TELNET_WILL, TELNET_DO},
    {TELNET_TELOPT_SGA, TELNET_WILL, TELNET_DO},
    {comport::kOption, TELNET_WILL, TELNET_DONT},
    {-1, 0, 0},
};

enum class ComPortOption { Unanswered, Accepted, Refused };

unsigned Bit(std::uint8_t command)
{
    return 1u << command;
}

// Thread use: the event thread waits and reads, the exchanging thread writes (and may read);
// m_mutex guards the telnet state, both buffers and what the server reported. The socket is
// opened and closed only while no other thread uses the device.
class Rfc2217Device final : public SocketDevice {
public:
    explicit Rfc2217Device(int timeoutMs) : m_timeoutMs(std::max(0, timeoutMs)) {}
    ~Rfc2217Device() override { Close(); }

    int Open(const PortAddress& address) override
    {
        Close();
        if (const int error = m_link.Connect(address, m_timeoutMs); error != 0)
            return error;
        std::unique_lock lock(m_mutex);
        m_detail.clear();
        m_telnet = telnet_init(kTelopts, &Rfc2217Device::OnTelnetEvent, 0, this);
        if (!m_telnet) {
            m_link.Close();
            return ENOMEM;
        }
        telnet_negotiate(m_telnet, TELNET_WILL, comport::kOption);
        telnet_negotiate(m_telnet, TELNET_WILL, TELNET_TELOPT_BINARY);
        telnet_negotiate(m_telnet, TELNET_DO, TELNET_TELOPT_BINARY);
        FlushLocked();
        // The answer decides whether settings can be sent. A server that says nothing at all
        // in the time-out is stalled or not a telnet server: waiting for the camera too would
        // cost a second time-out for the same silence.
        WaitFor(lock, [this] { return m_comPort != ComPortOption::Unanswered; });
        if (!m_heard && !m_link.IsLost()) {
            lock.unlock();
            Close();
            std::lock_guard relock(m_mutex);
            m_detail = "the server did not answer the RFC 2217 negotiation in " +
                       std::to_string(m_timeoutMs) + " ms (a raw TCP port is opened as socket://)";
            return ETIMEDOUT;
        }
        if (m_link.IsLost()) {
            const std::string said(m_received.begin(), m_received.end());
            lock.unlock();
            Close();
            std::lock_guard relock(m_mutex);
            m_detail = ServerClosedDetail(said);
            return ECONNRESET;
        }
        return 0;
    }

    void Close() override
    {
        std::lock_guard lock(m_mutex);
        if (m_telnet)
            telnet_free(m_telnet);
        m_telnet = nullptr;
        m_link.Close();
        m_received.clear();
        m_out.clear();
        m_comPort = ComPortOption::Unanswered;
        m_heard = false;
        m_answered = 0;
        m_answeredBaud = 0;
        m_haveModemState = false;
        m_modemState = 0;
        m_lineEvents = 0;
        m_protocolError.clear();
    }

    bool Configure(const LineSettings& settings) override
    {
        std::unique_lock lock(m_mutex);
        m_detail.clear();
        if (!m_telnet || m_link.IsLost())
            return false;
        if (m_comPort != ComPortOption::Accepted)
            return true; // the server's own settings stand
        const auto requests = comport::LineRequests(settings);
        if (requests.empty()) {
            m_detail = "the line settings have no RFC 2217 form";
            return false;
        }
        m_answered = 0;
        for (const std::string& request : requests)
            telnet_subnegotiation(m_telnet, comport::kOption, request.data(), request.size());
        FlushLocked();
        // The server answers each line setting with the value it set; requests it leaves
        // unanswered (DTR or RTS on a device without them) do not hold up the open.
        const unsigned lineSettings = Bit(comport::SetBaudRate) | Bit(comport::SetDataSize) |
                                      Bit(comport::SetParity) | Bit(comport::SetStopSize);
        const bool linesChecked = settings.dsrOutFlow || settings.ctsOutFlow;
        WaitFor(lock, [&] {
            return (m_answered & lineSettings) == lineSettings &&
                   (!linesChecked || m_haveModemState);
        });
        if (m_link.IsLost()) {
            m_detail = ServerClosedDetail(std::string(m_received.begin(), m_received.end()));
            return false;
        }
        if ((m_answered & Bit(comport::SetBaudRate)) && m_answeredBaud != 0 &&
            m_answeredBaud != static_cast<std::uint32_t>(settings.baudRate)) {
            m_detail = "the server set " + std::to_string(m_answeredBaud) + " baud, not " +
                       std::to_string(settings.baudRate);
            return false;
        }
        return true;
    }

    bool Purge() override
    {
        std::lock_guard lock(m_mutex);
        if (!m_telnet)
            return false;
        m_received.clear();
        if (m_comPort == ComPortOption::Accepted) {
            const std::string request = comport::PurgeRequest();
            telnet_subnegotiation(m_telnet, comport::kOption, request.data(), request.size());
            FlushLocked();
        }
        return !m_link.IsLost();
    }

    unsigned WaitEvent(std::string& failure) override
    {
        std::unique_lock lock(m_mutex);
        for (;;) {
            const unsigned mask = m_link.EventMask();
            if (mask == 0 || !m_telnet)
                return 0;
            if (!m_received.empty() && (mask & EventReceived))
                return EventReceived;
            const unsigned lineEvents = m_lineEvents & mask;
            m_lineEvents = 0;
            if (lineEvents)
                return lineEvents;
            if (!m_protocolError.empty()) {
                failure = m_protocolError;
                return 0;
            }
            if (m_link.IsLost()) {
                failure = m_link.LostReason();
                return 0;
            }
            lock.unlock();
            const auto woke = m_link.WaitReadable(-1);
            lock.lock();
            if (woke != SocketLink::Wait::Readable)
                continue;
            // Data is left in the socket for whoever reads next: during an exchange that is
            // the waiting caller, who polls the same socket. Telnet commands alone are taken
            // here, so that line changes and a closed connection are seen between exchanges.
            std::uint8_t peeked[kReceiveChunk];
            const int n = m_link.PeekBytes(peeked, kReceiveChunk);
            if (n > 0 && (mask & EventReceived) && HoldsData(peeked, n))
                return EventReceived;
            PumpLocked();
        }
    }

    int Read(std::uint8_t* buffer, int max, int& errorCode) override
    {
        std::lock_guard lock(m_mutex);
        errorCode = 0;
        if (!m_telnet) {
            errorCode = EBADF;
            return -1;
        }
        if (m_received.empty())
            PumpLocked();
        if (m_received.empty()) {
            // Only telnet commands arrived, or nothing: no bytes, unless the link is gone.
            if (m_link.IsLost() || !m_protocolError.empty()) {
                errorCode = ECONNRESET;
                return -1;
            }
            return 0;
        }
        const int n = std::min<int>(max, static_cast<int>(m_received.size()));
        std::copy_n(m_received.begin(), n, buffer);
        m_received.erase(m_received.begin(), m_received.begin() + n);
        return n;
    }

    WriteOutcome Write(const std::uint8_t* data, int n, int timeoutMs, int& written,
                       int& errorCode) override
    {
        std::lock_guard lock(m_mutex);
        written = 0;
        errorCode = 0;
        if (!m_telnet || m_link.IsLost()) {
            errorCode = ENOTCONN;
            return WriteOutcome::Refused;
        }
        const std::size_t before = m_out.size();
        telnet_send(m_telnet, reinterpret_cast<const char*>(data), static_cast<std::size_t>(n));
        int sent = 0;
        const WriteOutcome outcome = SendOut(timeoutMs, sent, errorCode);
        // Count the data bytes whose escaped form left completely.
        std::size_t encoded = before;
        for (int i = 0; i < n; ++i) {
            encoded += data[i] == TELNET_IAC ? 2 : 1;
            if (encoded > static_cast<std::size_t>(sent))
                break;
            ++written;
        }
        return outcome;
    }

    // The server reports the lines once it took the COM-PORT option.
    bool HasModemLines() const override { return true; }

    bool GetModemLines(ModemLines& lines) override
    {
        std::lock_guard lock(m_mutex);
        if (!m_haveModemState)
            return false;
        lines = comport::ModemLinesOf(m_modemState);
        return true;
    }

    std::string FailureDetail() const override
    {
        std::lock_guard lock(m_mutex);
        return m_detail;
    }

    std::string LostReason() const override
    {
        std::lock_guard lock(m_mutex);
        if (!m_protocolError.empty())
            return m_protocolError;
        return m_link.IsLost() ? m_link.LostReason() : std::string();
    }

private:
    static void OnTelnetEvent(telnet_t*, telnet_event_t* event, void* self)
    {
        static_cast<Rfc2217Device*>(self)->OnEvent(*event);
    }

    // Called by libtelnet inside telnet_recv and telnet_send, with m_mutex held.
    void OnEvent(const telnet_event_t& event)
    {
        switch (event.type) {
        case TELNET_EV_DATA:
            m_received.insert(m_received.end(), event.data.buffer,
                              event.data.buffer + event.data.size);
            if (m_received.size() > kReceivedMax)
                m_received.erase(m_received.begin(),
                                 m_received.begin() +
                                     static_cast<long>(m_received.size() - kReceivedMax));
            break;
        case TELNET_EV_SEND:
            m_out.append(event.data.buffer, event.data.size);
            break;
        case TELNET_EV_DO:
            if (event.neg.telopt == comport::kOption)
                m_comPort = ComPortOption::Accepted;
            break;
        case TELNET_EV_DONT:
            if (event.neg.telopt == comport::kOption)
                m_comPort = ComPortOption::Refused;
            break;
        case TELNET_EV_SUBNEGOTIATION:
            if (event.sub.telopt == comport::kOption)
                OnServerMessage(reinterpret_cast<const std::uint8_t*>(event.sub.buffer),
                                event.sub.size);
            break;
        case TELNET_EV_ERROR:
            m_protocolError = std::string("telnet protocol error: ") + event.error.msg;
            break;
        default:
            break;
        }
    }

    void OnServerMessage(const std::uint8_t* payload, std::size_t size)
    {
        const comport::ServerMessage message = comport::ReadServerMessage(payload, size);
        if (!message.valid)
            return;
        if (message.command != comport::NotifyModemState) {
            if (message.command < 32)
                m_answered |= Bit(message.command);
            if (message.command == comport::SetBaudRate)
                m_answeredBaud = message.value;
            return;
        }
        const auto state = static_cast<std::uint8_t>(message.value);
        if (m_haveModemState) {
            const ModemLines was = comport::ModemLinesOf(m_modemState);
            const ModemLines now = comport::ModemLinesOf(state);
            if (was.cts != now.cts)
                m_lineEvents |= EventCtsChanged;
            if (was.dsr != now.dsr)
                m_lineEvents |= EventDsrChanged;
            if (was.dcd != now.dcd)
                m_lineEvents |= EventDcdChanged;
            if (was.ring && !now.ring)
                m_lineEvents |= EventRingEnded;
        }
        m_modemState = state;
        m_haveModemState = true;
    }

    // Reads what the socket holds now into the parser, and sends the answers it produced.
    void PumpLocked()
    {
        std::uint8_t chunk[kReceiveChunk];
        const int n = m_link.Receive(chunk, kReceiveChunk);
        m_heard = m_heard || n > 0;
        if (n > 0)
            telnet_recv(m_telnet, reinterpret_cast<const char*>(chunk),
                        static_cast<std::size_t>(n));
        FlushLocked();
    }

    void FlushLocked()
    {
        int sent = 0;
        int errorCode = 0;
        SendOut(kControlWriteMs, sent, errorCode);
    }

    // Sends the telnet output collected so far; what did not leave stays in front.
    WriteOutcome SendOut(int timeoutMs, int& sent, int& errorCode)
    {
        sent = 0;
        if (m_out.empty())
            return WriteOutcome::Completed;
        const WriteOutcome outcome =
            m_link.Send(reinterpret_cast<const std::uint8_t*>(m_out.data()),
                        static_cast<int>(m_out.size()), timeoutMs, sent, errorCode);
        m_out.erase(0, static_cast<std::size_t>(sent));
        if (m_out.size() > kUnsentMax)
            m_out.clear();
        return outcome;
    }

    // Pumps the socket until done() holds, the connection is lost or the time-out passes.
    template <typename Done> void WaitFor(std::unique_lock<std::mutex>& lock, Done done)
    {
        const auto deadline = Clock::now() + std::chrono::milliseconds(m_timeoutMs);
        while (!done() && !m_link.IsLost() && m_protocolError.empty()) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0)
                return;
            lock.unlock();
            const auto woke = m_link.WaitReadable(static_cast<int>(left.count()));
            lock.lock();
            if (woke == SocketLink::Wait::Readable)
                PumpLocked();
        }
    }

    const int m_timeoutMs;
    mutable std::mutex m_mutex;
    telnet_t* m_telnet = nullptr;
    std::deque<char> m_received; // data bytes, telnet removed
    std::string m_out;           // telnet output not yet sent
    ComPortOption m_comPort = ComPortOption::Unanswered;
    unsigned m_answered = 0; // bit per client command the server has answered
    std::uint32_t m_answeredBaud = 0;
    bool m_haveModemState = false;
    std::uint8_t m_modemState = 0;
    unsigned m_lineEvents = 0; // line changes not yet reported by WaitEvent
    std::string m_protocolError;
    std::string m_detail; // why the last Open or Configure failed
    bool m_heard = false; // the server has sent anything since the connection
};

} // namespace

std::unique_ptr<ISerialDevice> CreateRfc2217Device(int timeoutMs)
{
    return std::make_unique<Rfc2217Device>(timeoutMs);
}

} // namespace serial
