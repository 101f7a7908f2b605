#include "platform/serial/SerialDevice.h"

#include "platform/serial/HeldPorts.h"
#include "platform/serial/NetworkConnect.h"
#include "platform/serial/PortHolders.h"
#include "platform/serial/UucpLock.h"
#include "platform/serial/WaitWritable.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace serial {
namespace {

using Clock = std::chrono::steady_clock;

// Modem lines are sampled this often while the event thread waits; the kernel offers no way
// to poll() for a line change on a serial device.
constexpr int kLineSampleMs = 100;

bool SpeedOf(int baud, speed_t& speed)
{
    switch (baud) {
    case 50:
        speed = B50;
        return true;
    case 75:
        speed = B75;
        return true;
    case 110:
        speed = B110;
        return true;
    case 134:
        speed = B134;
        return true;
    case 150:
        speed = B150;
        return true;
    case 200:
        speed = B200;
        return true;
    case 300:
        speed = B300;
        return true;
    case 600:
        speed = B600;
        return true;
    case 1200:
        speed = B1200;
        return true;
    case 1800:
        speed = B1800;
        return true;
    case 2400:
        speed = B2400;
        return true;
    case 4800:
        speed = B4800;
        return true;
    case 9600:
        speed = B9600;
        return true;
    case 19200:
        speed = B19200;
        return true;
    case 38400:
        speed = B38400;
        return true;
    case 57600:
        speed = B57600;
        return true;
    case 115200:
        speed = B115200;
        return true;
    case 230400:
        speed = B230400;
        return true;
    case 460800:
        speed = B460800;
        return true;
    case 921600:
        speed = B921600;
        return true;
    default:
        return false;
    }
}

class TermiosDevice final : public ISerialDevice {
public:
    ~TermiosDevice() override { Close(); }

    int Open(const PortAddress& address) override
    {
        Close();
        m_failure.clear();
        const int fd = ::open(address.path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            const int err = errno;
            // Flagged for exclusive use by another: say by whom, when anything shows it.
            if (err == EBUSY)
                m_failure = FlaggedPortHolder(address);
            return err;
        }
        if (!::isatty(fd)) {
            ::close(fd);
            return ENOTTY;
        }
        struct stat device {};
        if (::fstat(fd, &device) != 0) {
            const int err = errno;
            ::close(fd);
            return err;
        }
        // The lock keeps a second program off the port even where TIOCEXCL does not (root).
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno == EWOULDBLOCK ? EBUSY : errno;
            if (err == EBUSY)
                m_failure = Named(LockHolder(device.st_dev, device.st_ino), device.st_rdev);
            ::close(fd);
            return err;
        }
        // Programs that take neither lock say the port is theirs with a UUCP lock file, or only
        // by having it open with the exclusive flag set, which root passes through: the flag is
        // theirs, and so is the port, while any other process has it open.
        const bool ownTerminal = OpensTerminalOfItsOwn(device.st_rdev);
        const std::string lockPath = ownTerminal ? std::string() : UucpLockPath(address.path);
        pid_t holder = lockPath.empty() ? 0 : UucpLockHolder(lockPath);
        if (holder == 0 && !ownTerminal)
            if (const std::vector<pid_t> others = ProcessesHolding(device.st_rdev); !others.empty())
                holder = others.front();
        if (holder != 0)
            return Refuse(fd, holder);
        // Nobody holds it: a flag found set was left by a program that has gone (a pty outlives
        // a program ended by SIGKILL). TIOCEXCL below takes it over as ours. Only a process that
        // may open an exclusive terminal (CAP_SYS_ADMIN) gets here with one set.
        const bool exclusive = ::ioctl(fd, TIOCEXCL) == 0;
        RegisterHeldPort(fd, exclusive);
        // Our lock file comes last, once the port is ours: it may still lose to a program that
        // took the lock since we looked.
        bool lockTaken = false;
        if (!lockPath.empty()) {
            holder = TakeUucpLock(lockPath, lockTaken);
            if (lockTaken)
                SetHeldPortLockFile(fd, lockPath.c_str());
        }
        int pipeFds[2];
        if (holder != 0 || ::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
            const int err = holder != 0 ? EBUSY : errno;
            UnregisterHeldPort(fd);
            if (exclusive && (ownTerminal || ProcessesHolding(device.st_rdev).empty()))
                ::ioctl(fd, TIOCNXCL);
            if (lockTaken)
                ReleaseUucpLock(lockPath);
            if (holder != 0)
                return Refuse(fd, holder);
            ::close(fd);
            return err;
        }
        m_fd = fd;
        m_rdev = device.st_rdev;
        m_exclusive = exclusive;
        m_lockPath = lockTaken ? lockPath : std::string();
        m_wakeRead = pipeFds[0];
        m_wakeWrite = pipeFds[1];
        m_mask.store(0);
        int status = 0;
        m_linesReadable = ::ioctl(fd, TIOCMGET, &status) == 0;
        m_lastLines = status;
        return 0;
    }

    void Close() override
    {
        if (m_fd >= 0) {
            UnregisterHeldPort(m_fd);
            // The flag is the terminal's, not ours: another process that opened it since (root
            // passes through it) holds it now, and keeps it.
            if (m_exclusive && (OpensTerminalOfItsOwn(m_rdev) || ProcessesHolding(m_rdev).empty()))
                ::ioctl(m_fd, TIOCNXCL);
            m_exclusive = false;
            if (!m_lockPath.empty())
                ReleaseUucpLock(m_lockPath);
            m_lockPath.clear();
            ::flock(m_fd, LOCK_UN);
            ::close(m_fd);
            m_fd = -1;
        }
        if (m_wakeRead >= 0)
            ::close(m_wakeRead);
        if (m_wakeWrite >= 0)
            ::close(m_wakeWrite);
        m_wakeRead = m_wakeWrite = -1;
    }

    std::string FailureDetail() const override { return m_failure; }

    bool Configure(const LineSettings& s) override
    {
        termios tio{};
        if (::tcgetattr(m_fd, &tio) != 0)
            return false;
        speed_t speed;
        if (!SpeedOf(s.baudRate, speed))
            return false;
        ::cfmakeraw(&tio);
        tio.c_cflag |= CLOCAL | CREAD;
        tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CMSPAR | CSTOPB | CRTSCTS);
        switch (s.byteSize) {
        case 5:
            tio.c_cflag |= CS5;
            break;
        case 6:
            tio.c_cflag |= CS6;
            break;
        case 7:
            tio.c_cflag |= CS7;
            break;
        case 8:
            tio.c_cflag |= CS8;
            break;
        default:
            return false;
        }
        switch (s.parity) {
        case 0:
            break;
        case 1:
            tio.c_cflag |= PARENB | PARODD;
            break;
        case 2:
            tio.c_cflag |= PARENB;
            break;
        case 3:
            tio.c_cflag |= PARENB | PARODD | CMSPAR;
            break;
        case 4:
            tio.c_cflag |= PARENB | CMSPAR;
            break;
        default:
            return false;
        }
        // One and a half stop bits have no termios form; two is the nearest.
        if (s.stopBits == 1 || s.stopBits == 2)
            tio.c_cflag |= CSTOPB;
        else if (s.stopBits != 0)
            return false;
        if (s.ctsOutFlow)
            tio.c_cflag |= CRTSCTS;
        tio.c_iflag &= ~(IXON | IXOFF | IXANY);
        if (s.xonXoff)
            tio.c_iflag |= IXON | IXOFF;
        tio.c_cc[VMIN] = 0;
        tio.c_cc[VTIME] = 0;
        if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0)
            return false;
        if (::tcsetattr(m_fd, TCSANOW, &tio) != 0)
            return false;
        // DTR and RTS are raised as the port's "enabled" state; a pseudo-terminal has neither.
        int lines = TIOCM_DTR | TIOCM_RTS;
        ::ioctl(m_fd, TIOCMBIS, &lines);
        return true;
    }

    bool Purge() override { return m_fd >= 0 && ::tcflush(m_fd, TCIOFLUSH) == 0; }

    bool Watch(unsigned events) override
    {
        if (m_fd < 0)
            return false;
        m_mask.store(events);
        return true;
    }

    void EndWait() override
    {
        m_mask.store(0);
        if (m_wakeWrite < 0)
            return;
        const char byte = 0;
        // A full pipe already holds a wake-up; nothing is lost when this write fails.
        [[maybe_unused]] ssize_t ignored = ::write(m_wakeWrite, &byte, 1);
    }

    unsigned WaitEvent(std::string& failure) override
    {
        for (;;) {
            const unsigned mask = m_mask.load();
            if (mask == 0)
                return 0;
            pollfd fds[2] = {{m_fd, POLLIN, 0}, {m_wakeRead, POLLIN, 0}};
            const bool sampleLines =
                m_linesReadable &&
                (mask & (EventCtsChanged | EventDsrChanged | EventDcdChanged | EventRingEnded));
            const int ready = ::poll(fds, 2, sampleLines ? kLineSampleMs : -1);
            if (ready < 0) {
                if (errno == EINTR)
                    continue;
                failure = std::strerror(errno);
                return 0;
            }
            if (fds[1].revents) {
                char drain[16];
                while (::read(m_wakeRead, drain, sizeof drain) > 0) {
                }
                continue; // the loop head sees the cleared mask
            }
            if (fds[0].revents & POLLIN) {
                if (BytesWaiting() > 0)
                    return mask & EventReceived;
            }
            if (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) {
                failure = fds[0].revents & POLLHUP ? "device hung up" : "device error";
                return 0;
            }
            if (fds[0].revents & POLLIN) {
                // Readable with nothing to read: the device has reached its end.
                failure = "device closed";
                return 0;
            }
            if (sampleLines) {
                const unsigned changed = SampleLineChanges() & mask;
                if (changed)
                    return changed;
            }
        }
    }

    int Read(std::uint8_t* buffer, int max, int& errorCode) override
    {
        // Reads never block: the descriptor is non-blocking.
        const ssize_t n = ::read(m_fd, buffer, static_cast<size_t>(max));
        if (n < 0) {
            errorCode = errno == EAGAIN ? 0 : errno;
            return errorCode == 0 ? 0 : -1;
        }
        errorCode = 0;
        return static_cast<int>(n);
    }

    WriteOutcome Write(const std::uint8_t* data, int n, int timeoutMs, int& written,
                       int& errorCode) override
    {
        const PutBytes put = [](int fd, const std::uint8_t* bytes, std::size_t count) {
            return ::write(fd, bytes, count);
        };
        return WriteWithin(m_fd, put, data, n, timeoutMs, written, errorCode);
    }

    bool HasModemLines() const override { return true; }

    bool GetModemLines(ModemLines& lines) override
    {
        int status = 0;
        if (m_fd < 0 || ::ioctl(m_fd, TIOCMGET, &status) != 0)
            return false;
        lines.cts = status & TIOCM_CTS;
        lines.dsr = status & TIOCM_DSR;
        lines.ring = status & TIOCM_RNG;
        lines.dcd = status & TIOCM_CD;
        return true;
    }

    int PollDescriptor() const override { return m_fd; }

private:
    int BytesWaiting() const
    {
        int count = 0;
        if (m_fd < 0 || ::ioctl(m_fd, FIONREAD, &count) != 0)
            return 0;
        return count;
    }

    unsigned SampleLineChanges()
    {
        int status = 0;
        if (::ioctl(m_fd, TIOCMGET, &status) != 0)
            return 0;
        const int diff = status ^ m_lastLines;
        m_lastLines = status;
        unsigned events = 0;
        if (diff & TIOCM_CTS)
            events |= EventCtsChanged;
        if (diff & TIOCM_DSR)
            events |= EventDsrChanged;
        if (diff & TIOCM_CD)
            events |= EventDcdChanged;
        if ((diff & TIOCM_RNG) && !(status & TIOCM_RNG))
            events |= EventRingEnded; // as the driver does
        return events;
    }

    // Closes fd, a port that another process holds, naming the holder where it can.
    int Refuse(int fd, pid_t holder)
    {
        m_failure = holder > 0 && holder != ::getpid() ? InUseBy(holder) : std::string();
        ::close(fd);
        return EBUSY;
    }

    // Who holds a port that would not open, when known: "in use by minicom (PID 4242, ...)".
    static std::string Named(pid_t holder, dev_t rdev)
    {
        if ((holder <= 0 || holder == ::getpid()) && !OpensTerminalOfItsOwn(rdev))
            if (const std::vector<pid_t> others = ProcessesHolding(rdev); !others.empty())
                holder = others.front();
        return holder > 0 && holder != ::getpid() ? InUseBy(holder) : std::string();
    }

    // Why a port flagged for exclusive use by another would not open: the holder the lock file,
    // the locks or this user's processes show, else that none can be seen.
    static std::string FlaggedPortHolder(const PortAddress& address)
    {
        struct stat device {};
        if (::stat(address.path.c_str(), &device) != 0 || !S_ISCHR(device.st_mode))
            return {};
        const std::string lockPath = UucpLockPath(address.path);
        const pid_t locker = lockPath.empty() ? 0 : UucpLockHolder(lockPath);
        if (locker > 0 && locker != ::getpid())
            return InUseBy(locker);
        if (std::string named = Named(LockHolder(device.st_dev, device.st_ino), device.st_rdev);
            !named.empty())
            return named;
        return "flagged for exclusive use, but no process you can see holds it (a program that "
               "was killed leaves the flag behind: replug the device, or clear it with sudo "
               "vireoctl --port " +
               address.path + " identify)";
    }

    int m_fd = -1;
    dev_t m_rdev = 0;
    bool m_exclusive = false; // the exclusive hold on m_fd is ours
    std::string m_lockPath;   // the UUCP lock file we took, empty when none
    std::string m_failure;    // FailureDetail()
    int m_wakeRead = -1;
    int m_wakeWrite = -1;
    std::atomic<unsigned> m_mask{0};
    bool m_linesReadable = false;
    int m_lastLines = 0;
};

} // namespace

std::unique_ptr<ISerialDevice> CreateTermiosDevice()
{
    return std::make_unique<TermiosDevice>();
}

std::unique_ptr<ISerialDevice> CreateLocalDevice()
{
    return CreateTermiosDevice();
}

std::string OpenFailureReason(int error, const PortAddress& address)
{
    if (address.kind != PortNameKind::Device)
        return NetworkOpenFailureReason(error, address.name);
    const std::string& path = address.path;
    if (path.empty() || path == "/dev/")
        return "no port chosen";
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return path + ": no such device";
    case EACCES:
    case EPERM:
        return path +
               ": permission denied (join the dialout group: sudo usermod -aG dialout $USER)";
    case EBUSY:
        return path + ": in use by another program";
    case ENOTTY:
        return path + ": not a serial device";
    default:
        return path + ": " + std::strerror(error);
    }
}

} // namespace serial
