#include "comm/Rs232c.h"

#include "platform/serial/LateReplyMark.h"
#include "platform/serial/NetworkDevices.h"
#include "platform/wait/Wait.h"

#include <algorithm>
#include <string_view>
#include <chrono>
#include <cstring>
#include <system_error>

namespace {

constexpr int kWriteTotalMs = 3000;
constexpr int kThreadEndWaitMs = 3000;
// Readable-but-empty reads in a row after which a device counts as closed.
constexpr int kEmptyReadsMax = 64;
// How long the caller must leave the device alone before the event thread waits on it again.
constexpr auto kStandAsideIdle = std::chrono::milliseconds(20);
constexpr unsigned kEventMask =
    serial::EventReceived | serial::EventCtsChanged | serial::EventDsrChanged |
    serial::EventDcdChanged | serial::EventRingEnded | serial::EventBreak | serial::EventLineError;

// Settling. After a reply time-out (in this program, or in an earlier one that left its mark on
// the port), and on a new raw TCP connection, a reply to an earlier request may still be on its
// way: the camera answered late, or a network server kept it from a previous connection. The port
// is then out of step, and the next exchange, before it sends, reads and drops (with a log record)
// whatever arrives until the line has been quiet for the settle time: longer than a reply frame's
// wire time at the port's rate plus, on a network port, what the server holds back before
// forwarding (ser2net: up to 20 ms), and never longer than the reply time-out. A line that does not
// go quiet within the reply time-out is taken as it is.
constexpr int kSettleFrameBytes = 20;  // STX, the longest reply, ETX, and slack
constexpr int kSettleBitsPerByte = 11; // start, eight data bits, parity and a stop bit
constexpr auto kServerHoldBack = std::chrono::milliseconds(20);
constexpr auto kSettleSlack = std::chrono::milliseconds(5);

// How long an exchange that may meet a late answer looks for a second frame after its reply.
constexpr int kLateLookSettles = 4;
constexpr auto kLateLookLeast = std::chrono::milliseconds(100);
// Unanswered requests counted at most: beyond that a camera is dropping them, not late.
constexpr int kRepliesOwedMost = 8;

// Whether a reply can be the answer to request at all: a read ("RQ") is answered by a value or
// a NAK, a write by an ACK or a NAK.
bool AnswerFits(const char* request, const std::string& payload)
{
    const std::string_view text(request);
    const bool read = text.size() >= 3 && text.substr(text.size() - 3, 2) == "RQ";
    const bool acknowledge = !payload.empty() && (payload[0] == 0x06 || payload[0] == 0x15);
    return read ? !(acknowledge && payload[0] == 0x06) : acknowledge;
}

// A serial byte is never shorter than five data bits between a start and a stop bit.
constexpr int kShortestByteBits = 7;

std::chrono::milliseconds SettleTime(int baud, bool network, int timeoutMs)
{
    const long long bits = static_cast<long long>(kSettleFrameBytes) * kSettleBitsPerByte;
    auto time =
        std::chrono::milliseconds((bits * 1000 + std::max(baud, 1) - 1) / std::max(baud, 1));
    time += kSettleSlack;
    if (network)
        time += kServerHoldBack;
    return std::min(time, std::chrono::milliseconds(std::max(0, timeoutMs)));
}

// A failure the user must act on, with the words the box shows.
CResult Notice(LinkResult code, std::string text)
{
    return CResult(code).WithNotice(std::move(text));
}

} // namespace

// The port's address chooses the device: a local one, or a serial port served over the network.
CRs232c::CRs232c()
    : m_deviceFactory([this](const serial::PortAddress& address) {
          return serial::CreateDevice(address, m_Settings.HsTimeOut);
      })
{
}

CRs232c::~CRs232c()
{
    Close();
}

void CRs232c::SetDeviceFactory(DeviceFactory factory)
{
    m_deviceFactory = std::move(factory);
    m_systemDevices = false;
}

int CRs232c::Initialize()
{
    return LoadSettings();
}

int CRs232c::Open()
{
    Close();
    Status(FormatText("Port open %s\r", m_Settings.PortName.c_str()));

    m_openProblem.clear();
    serial::PortAddress address;
    std::string malformed;
    // An empty name goes on to the device, whose failure says that no port was chosen.
    if (!serial::ParsePortName(m_Settings.PortName, address, malformed) &&
        !m_Settings.PortName.empty()) {
        m_openProblem = m_Settings.PortName + ": " + malformed;
        Status("Port open Error\r");
        Status(m_openProblem + "\r");
        return 0;
    }
    auto device = m_deviceFactory(address);
    const std::string& shown = address.Shown();
    if (const int error = device->Open(address); error != 0) {
        const std::string detail = device->FailureDetail();
        m_openProblem =
            detail.empty() ? serial::OpenFailureReason(error, address) : shown + ": " + detail;
        Status("Port open Error\r");
        Status(m_openProblem + "\r");
        return 0;
    }
    m_device = std::move(device);
    if (address.kind == serial::PortNameKind::RawTcp)
        Status("Raw TCP port: line settings do not apply\r");
    // Raw TCP is the one kind of port whose device has no modem lines.
    if (!m_device->HasModemLines() && (m_Settings.fDsr == 1 || m_Settings.fRts == 1))
        Status("Raw TCP port: DSR/CTS checks do not apply\r");
    if (!ConfigurePort()) {
        const std::string detail = m_device->FailureDetail();
        m_openProblem =
            shown + ": " + (detail.empty() ? "the device refused the port settings" : detail);
        m_device->Close();
        m_device.reset();
        return 0;
    }
    m_framing = {m_Settings.Prefix, m_Settings.Suffix, m_Settings.Suffix2};
    // A raw TCP server cannot be asked to drop what it holds from an earlier connection; other
    // ports were purged just now, and only a reply of a request that timed out in an earlier
    // program (which left a mark) can still be on its way.
    // A device of a factory of its own is not the system's node of that name: it leaves no
    // mark there and takes none.
    m_lateReplyKey = m_systemDevices ? serial::LateReplyKey(address) : std::string();
    const auto markedUntil = serial::LateReplyDeadline(m_lateReplyKey);
    m_lateReplyUntil =
        markedUntil ? waiting::Clock::now() + std::chrono::duration_cast<waiting::Clock::duration>(
                                                  *markedUntil - std::chrono::system_clock::now())
                    : waiting::Clock::time_point{};
    const bool unsettled = address.kind == serial::PortNameKind::RawTcp || markedUntil;
    m_settleTime = SettleTime(m_Settings.BaudRate, address.kind != serial::PortNameKind::Device,
                              m_Settings.HsTimeOut);
    // A network device keeps what it decoded out of sight of a quick look; only a local line's
    // timing says that nothing can have come.
    m_shortestByte = address.kind == serial::PortNameKind::Device
                         ? std::chrono::nanoseconds(1'000'000'000LL * kShortestByteBits /
                                                    std::max(m_Settings.BaudRate, 1))
                         : std::chrono::nanoseconds(0);
    m_drained = false;
    m_frame.clear();
    m_discarding = false;
    {
        std::lock_guard lock(m_replyMutex);
        m_portLost = false;
        m_lostReason.clear();
        m_outOfStep = unsettled;
        m_repliesOwed = 0;
        m_exchangeActive = false;
        m_eventReading = false;
        m_standingAside = false;
        m_closing = false;
    }
    {
        std::lock_guard lock(m_threadMutex);
        m_threadRunning = true;
    }
    try {
        m_eventThread = std::thread(&CRs232c::EventThread, this);
    } catch (const std::system_error&) {
        m_threadRunning = false;
        m_device->Close();
        m_device.reset();
        m_openProblem = "no thread for the port";
        Status("Port open Error (Event thread failure)\r");
        return 0;
    }
    Status("Port open Success\r");
    return 1;
}

bool CRs232c::ConfigurePort()
{
    serial::LineSettings line;
    line.baudRate = m_Settings.BaudRate;
    line.byteSize = m_Settings.ByteSize;
    line.parity = m_Settings.Parity;
    line.stopBits = m_Settings.StopBits;
    line.ctsOutFlow = m_Settings.fRts & 1;
    line.dsrOutFlow = m_Settings.fDsr & 1;
    line.xonXoff = m_Settings.fOutX & 1;
    if (!m_device->Configure(line)) {
        Status("Error! Speed Setup\r");
        return false;
    }
    Status("DCB Setup OK\r");
    // Reads never block and every write carries its own time-out (kWriteTotalMs): nothing is
    // left to set.
    Status("Timeout Setup OK\r");
    if (!m_device->Purge()) {
        Status("Error! Interface Clear(PurgeComm)\r");
        return false;
    }
    Status("Interface Clear(PurgeComm) OK\r");
    if (!m_device->Watch(kEventMask)) {
        Status("Error! SetCommMask() \r");
        return false;
    }
    Status("SetCommMask() OK\r");
    return true;
}

int CRs232c::Close()
{
    Status("Port close\r");
    if (!m_device) {
        Status("Port close done(NO Handle)\r");
        return 1;
    }
    m_device->EndWait();
    {
        std::lock_guard lock(m_replyMutex);
        m_closing = true;
    }
    m_standAsideEnd.notify_all();
    {
        std::unique_lock lock(m_threadMutex);
        m_threadEnded.wait_for(lock, std::chrono::milliseconds(kThreadEndWaitMs),
                               [this] { return !m_threadRunning; });
    }
    // The wait only ever blocks in poll(), which EndWait has woken.
    if (m_eventThread.joinable())
        m_eventThread.join();
    m_device->Close();
    m_device.reset();
    Status("Port close done\r");
    return 1;
}

int CRs232c::IsOpen()
{
    if (m_device)
        return 1;
    Status("Port close done(NO Handle)\r");
    return 0;
}

void CRs232c::EventThread()
{
    for (;;) {
        std::uint64_t exchangesBefore = 0;
        bool exchangeBefore = false; // one already running may read during the wait and end
        {
            std::lock_guard lock(m_replyMutex);
            exchangesBefore = m_exchangeCount;
            exchangeBefore = m_exchangeActive;
        }
        std::string failure;
        const unsigned mask = m_device->WaitEvent(failure);
        if (mask == 0) {
            if (failure.empty())
                break;
            std::unique_lock lock(m_replyMutex);
            if (m_portLost)
                break; // the caller saw it first and said so
            // A caller that read the device meanwhile may have taken the bytes this wait saw:
            // only a failure seen again with no exchange in between is the device's.
            // It looks again once the exchanges have paused, without being woken by each one.
            if (exchangeBefore || m_exchangeActive || m_exchangeCount != exchangesBefore) {
                StandAside(lock);
                continue;
            }
            m_portLost = true;
            m_lostReason = failure;
            lock.unlock();
            Status("Port lost: " + failure + "\r");
            break;
        }
        OnCommEvent(mask);
    }
    std::lock_guard lock(m_threadMutex);
    m_threadRunning = false;
    m_threadEnded.notify_all();
}

void CRs232c::OnCommEvent(unsigned mask)
{
    if (mask & serial::EventReceived) {
        // While an exchange runs its caller reads the device; what is left is read after it.
        {
            std::unique_lock lock(m_replyMutex);
            if (m_exchangeActive)
                StandAside(lock);
            if (m_closing)
                return;
            m_eventReading = true;
        }
        ReceiveData();
        {
            std::lock_guard lock(m_replyMutex);
            m_eventReading = false;
        }
        m_readerChanged.notify_all();
    }
    if (mask & (serial::EventCtsChanged | serial::EventDsrChanged))
        Status("EV_CTS|EV_DSR\r");
    if (mask & serial::EventBreak)
        Status("EV_BREAK\r");
    if (mask & serial::EventLineError)
        Status("EV_ERR\r");
    if (mask & serial::EventRingEnded)
        Status("EV_RING\r");
}

void CRs232c::StandAside(std::unique_lock<std::mutex>& lock)
{
    // Timed waits only: the caller's exchanges notify no one.
    m_standingAside = true;
    for (;;) {
        const std::uint64_t seen = m_exchangeCount;
        if (m_standAsideEnd.wait_for(lock, kStandAsideIdle, [this] { return m_closing; }))
            break;
        if (!m_exchangeActive && m_exchangeCount == seen)
            break;
    }
    m_standingAside = false;
}

void CRs232c::ReceiveData()
{
    // A failed read is no reply; the device's wait reports what failed.
    std::uint8_t bytes[kReadChunk];
    int error = 0;
    const int count = m_device->Read(bytes, kReadChunk, error);
    std::string payload; // of the last frame that ended in this read
    if (count > 0 && FrameBytes(bytes, count, payload))
        LogReply(payload);
}

int CRs232c::FrameBytes(const std::uint8_t* bytes, int count, std::string& payload)
{
    const auto [prefix, suffix, suffix2] = m_framing;
    int framesEnded = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t byte = bytes[i];
        if (byte == prefix) {
            m_frame.clear();
            m_discarding = false;
            continue;
        }
        // The second suffix is compared even when it is 0: a received zero byte ends a frame.
        const bool ends = byte == suffix || byte == suffix2;
        if (m_discarding) {
            // The rest of a dropped frame is no reply; without a prefix its end closes it.
            if (ends && prefix == 0)
                m_discarding = false;
            continue;
        }
        // A frame that never ends is dropped rather than allowed to grow; its end still fits.
        if (m_frame.size() >= kFrameMax + (ends ? 1 : 0)) {
            m_frame.clear();
            m_discarding = true;
            continue;
        }
        if (ends) {
            m_frame.push_back('\0');
            ++framesEnded;
            payload.assign(m_frame.data(), strnlen(m_frame.data(), m_frame.size()));
        } else {
            m_frame.push_back(static_cast<char>(byte));
        }
    }
    return framesEnded;
}

void CRs232c::LogReply(const std::string& payload)
{
    const auto [prefix, suffix, suffix2] = m_framing;
    std::string record;
    record += static_cast<char>(prefix);
    record += payload;
    record += static_cast<char>(suffix);
    record += static_cast<char>(suffix2);
    // The record ends at its first zero byte, as the formatted text would.
    AddLogRecord(record.c_str(), LOG_RECEIVE);
}

CResult CRs232c::CheckLines()
{
    // The lines are asked for only when a check needs them.
    if (m_Settings.fDsr != 1 && m_Settings.fRts != 1)
        return LINK_OK;
    // A device without modem lines was said to be so at open.
    if (m_device && !m_device->HasModemLines())
        return LINK_OK;
    serial::ModemLines lines;
    // Lines that cannot be read count as off, as an unanswered status query would.
    if (!m_device || !m_device->GetModemLines(lines))
        lines = serial::ModemLines{};
    if (m_Settings.fDsr == 1 && !lines.dsr)
        return Notice(LINK_DSR_OFF, "DSR Off\r\nCheck the RS232C cable\r\nand Camera power");
    if (m_Settings.fRts == 1 && !lines.cts)
        return Notice(LINK_CTS_OFF, "CTS Off\r\nCheck the RS232C cable\r\nand Camera power");
    return LINK_OK;
}

CResult CRs232c::SendData(const char* text)
{
    const int n = static_cast<int>(std::strlen(text));
    if (CResult lines = CheckLines())
        return lines;
    if (!m_device) {
        if (PortLost())
            return LostNotice();
        return Notice(LINK_TX_ERROR, "Tx fail: the port is not open");
    }
    int written = 0;
    int error = 0;
    const auto outcome = m_device->Write(reinterpret_cast<const std::uint8_t*>(text), n,
                                         kWriteTotalMs, written, error);
    if (outcome == serial::WriteOutcome::Refused)
        return Notice(LINK_TX_ERROR, FormatText("Tx fail: %s", std::strerror(error)));
    if (outcome == serial::WriteOutcome::Failed)
        Status(FormatText("CommSend Error:%d \r", error));
    if (written != n) {
        const std::string message = FormatText("CommSend Timeout: Total%d sent %d \r", n, written);
        Status(message);
        return Notice(LINK_TIMEOUT, message);
    }
    return LINK_OK;
}

bool CRs232c::PortLost()
{
    std::lock_guard lock(m_replyMutex);
    return m_portLost;
}

int CRs232c::ReopenIfLost()
{
    if (!PortLost())
        return 0;
    if (!Open())
        return 0;
    Status(FormatText("Port reopened %s\r", m_Settings.PortName.c_str()));
    return 1;
}

CResult CRs232c::LostNotice()
{
    std::string reason;
    {
        std::lock_guard lock(m_replyMutex);
        reason = m_lostReason;
    }
    // The code stays the time-out's, as the logs have always shown it; the words say why.
    return Notice(LINK_TIMEOUT, "the camera's port was lost: " + m_Settings.PortName)
        .WithDetail(reason.empty() ? "the port was lost" : "the port was lost: " + reason);
}

void CRs232c::MarkLost(const std::string& reason)
{
    {
        std::lock_guard lock(m_replyMutex);
        if (m_portLost)
            return;
        m_portLost = true;
        m_lostReason = reason;
    }
    Status("Port lost: " + reason + "\r");
}

CResult CRs232c::DeviceLost(const std::string& reason)
{
    MarkLost(reason);
    Status("RCV Timeout\r");
    return LostNotice();
}

int CRs232c::ExchangeRead(int fd, std::uint8_t* bytes, int& emptyReads, CResult& lost)
{
    int error = 0;
    const int count = m_device->Read(bytes, kReadChunk, error);
    if (count > 0) {
        emptyReads = 0;
        return count;
    }
    // A network device may have decoded only line-control bytes; a device at its end keeps
    // reporting nothing, so only a run of empty reads counts as closed.
    if (count == 0 && ++emptyReads < kEmptyReadsMax && !waiting::HungUp(fd))
        return 0;
    // Readable with nothing to read: the device hung up, failed or reached its end.
    const bool hungUp = waiting::HungUp(fd);
    if (const std::string reason = m_device->LostReason(); !reason.empty())
        lost = DeviceLost(reason);
    else
        lost = DeviceLost(hungUp ? "device hung up" : count < 0 ? "device error" : "device closed");
    return -1;
}

void CRs232c::MarkOutOfStep()
{
    {
        std::lock_guard lock(m_replyMutex);
        m_outOfStep = true;
        m_repliesOwed = std::min(m_repliesOwed + 1, kRepliesOwedMost);
    }
    // For the next program on this port, should this one end before it settles: a camera that
    // has not answered within twice the time-out of the request is taken to have dropped it.
    serial::MarkLateReply(m_lateReplyKey,
                          std::chrono::system_clock::now() +
                              std::chrono::milliseconds(std::max(0, m_Settings.HsTimeOut)));
}

CResult CRs232c::Settle(int fd)
{
    Status("Settle: dropping late replies until the line is quiet\r");
    const auto start = waiting::Clock::now();
    // A mark of an earlier program holds the settle until the time it names.
    const auto bound =
        std::max(start + std::chrono::milliseconds(std::max(0, m_Settings.HsTimeOut)),
                 m_lateReplyUntil + m_settleTime);
    auto quietUntil = std::max(start + m_settleTime, m_lateReplyUntil);
    int emptyReads = 0;
    bool more = false;
    for (;;) {
        if (!more) {
            const waiting::WaitResult waited =
                waiting::Waiter().WaitReadable(fd, std::min(quietUntil, bound), Cancel());
            if (waited == waiting::WaitResult::Cancelled)
                return LINK_CANCELLED;
            if (waited == waiting::WaitResult::TimedOut)
                break;
            if (waited == waiting::WaitResult::Failed)
                return DeviceLost("device error");
        }
        std::uint8_t bytes[kReadChunk];
        CResult lost;
        const int count = ExchangeRead(fd, bytes, emptyReads, lost);
        if (count < 0)
            return lost;
        more = count == kReadChunk;
        if (count == 0)
            continue;
        quietUntil = waiting::Clock::now() + m_settleTime;
        std::string payload;
        if (FrameBytes(bytes, count, payload))
            LogReply(payload);
    }
    // A late frame cut off here must not run into the reply.
    m_frame.clear();
    m_discarding = false;
    serial::ClearLateReplyMark(m_lateReplyKey);
    m_lateReplyUntil = {};
    std::lock_guard lock(m_replyMutex);
    m_outOfStep = false;
    return LINK_OK;
}

int CRs232c::LaterFrames(int fd, int wanted, std::string& payload)
{
    // A camera that resumes answers its queued requests back to back; a busy machine may still
    // deliver them well apart, so the look lasts several settle times after each frame.
    const auto look = std::min(std::max(m_settleTime * kLateLookSettles, kLateLookLeast),
                               std::chrono::milliseconds(std::max(0, m_Settings.HsTimeOut)));
    auto until = waiting::Clock::now() + look;
    int emptyReads = 0;
    int frames = 0;
    bool more = false;
    while (frames < wanted) {
        if (!more) {
            const waiting::WaitResult waited = waiting::Waiter().WaitReadable(fd, until, Cancel());
            // A cancel or a failing device ends the look; the exchange has what came so far.
            if (waited != waiting::WaitResult::Readable)
                break;
        }
        std::uint8_t bytes[kReadChunk];
        CResult lost;
        const int count = ExchangeRead(fd, bytes, emptyReads, lost);
        if (count < 0)
            break;
        more = count == kReadChunk;
        if (const int ended = count > 0 ? FrameBytes(bytes, count, payload) : 0; ended > 0) {
            LogReply(payload);
            frames += ended;
            until = waiting::Clock::now() + look;
        }
    }
    return frames;
}

CResult CRs232c::SendReceive(const char* request, char* reply, std::size_t replySize)
{
    if (!m_device) {
        // A closed port sends nothing; SendData says why.
        AddLogRecord(request, LOG_SEND);
        return SendData(request);
    }
    const int fd = m_device->PollDescriptor();
    bool lost = false;
    bool eventThreadAside = false;
    bool outOfStep = false;
    int owed = 0;
    {
        std::unique_lock lock(m_replyMutex);
        m_readerChanged.wait(lock, [this] { return !m_eventReading; });
        m_exchangeActive = true;
        ++m_exchangeCount;
        lost = m_portLost;
        eventThreadAside = m_standingAside;
        outOfStep = m_outOfStep;
        owed = m_repliesOwed;
    }
    // The event thread reads again once this exchange is over, however it ends. It sees that on
    // its stand-aside timer; nobody waits to be told.
    struct EndExchange {
        CRs232c& port;
        ~EndExchange()
        {
            std::lock_guard lock(port.m_replyMutex);
            port.m_exchangeActive = false;
        }
    } endExchange{*this};

    // What came since the last exchange is taken as the event thread would have taken it. When
    // the last exchange emptied the line less than a byte's time ago, no byte can have come: one
    // arriving now races the request itself, as one arriving just after it would.
    const bool quietSinceLast = m_drained && waiting::Clock::now() - m_drainedAt < m_shortestByte;
    m_drained = false;
    if (eventThreadAside && !lost && !quietSinceLast)
        ReceiveData();
    if (outOfStep && !lost) {
        // Nothing is sent when the wait was cancelled or the device went away meanwhile.
        if (CResult settled = Settle(fd))
            return settled;
    }
    AddLogRecord(request, LOG_SEND);
    if (lost) {
        // Nothing can be sent to a device that is gone.
        Status("RCV Timeout\r");
        return LostNotice();
    }
    if (CResult result = SendData(request))
        return result;

    const auto deadline =
        waiting::Clock::now() + std::chrono::milliseconds(std::max(0, m_Settings.HsTimeOut));
    std::string payload;
    int emptyReads = 0;
    int framesHere = 0;
    // A device that filled the read may hold more than its descriptor shows (a network device
    // keeps what it decoded): it is read again before waiting.
    bool more = false;
    for (;;) {
        if (!more) {
            const waiting::WaitResult waited =
                waiting::Waiter().WaitReadable(fd, deadline, Cancel());
            if (waited == waiting::WaitResult::Cancelled) {
                MarkOutOfStep();
                return LINK_CANCELLED;
            }
            if (waited == waiting::WaitResult::TimedOut) {
                MarkOutOfStep();
                Status("RCV Timeout\r");
                return Notice(LINK_TIMEOUT, "RCV Timeout");
            }
            if (waited == waiting::WaitResult::Failed)
                return DeviceLost("device error");
        }
        std::uint8_t bytes[kReadChunk];
        CResult failure;
        const int count = ExchangeRead(fd, bytes, emptyReads, failure);
        if (count < 0)
            return failure;
        more = count == kReadChunk;
        if (count > 0 && (framesHere = FrameBytes(bytes, count, payload)) > 0)
            break;
    }
    // A read that did not fill its buffer took everything the line held.
    if (!more) {
        m_drained = true;
        m_drainedAt = waiting::Clock::now();
    }
    LogReply(payload);
    if (owed > 0) {
        // Requests are answered in order: with answers still owed to earlier requests, this
        // one's is the frame after them. A single frame is taken as this request's (the
        // earlier ones may never be answered) when no other follows; more than the requests
        // asked for, or an answer of the wrong kind (an ACK to a read, a value to a write),
        // means nothing can be told apart, and nothing is taken.
        const int frames =
            framesHere + (more ? 0 : LaterFrames(fd, owed + 1 - framesHere, payload));
        const bool inStep =
            !more && AnswerFits(request, payload) && (frames == 1 || frames == owed + 1);
        {
            std::lock_guard lock(m_replyMutex);
            // Whatever is still to come is dropped by the next exchange's settle.
            m_repliesOwed = inStep ? 0 : std::max(1, owed + 1 - frames);
            m_outOfStep = m_outOfStep || !inStep;
        }
        if (!inStep) {
            m_drained = false;
            Status("RCV out of step: a late reply came with this one\r");
            return CResult(LINK_RX_ERROR)
                .WithDetail("a late reply came with this one: the answer cannot be trusted");
        }
    }
    if (replySize > 0) {
        const std::size_t n = std::min(payload.size(), replySize - 1);
        std::memcpy(reply, payload.data(), n);
        reply[n] = '\0';
    }
    return LINK_OK;
}
