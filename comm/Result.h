// The result of every exchange and register operation: what kind of failure it is, its code (the
// number the log, the sequence log and vireoctl have always shown) and its text. A port adds a
// notice to the failures a user must act on (a cable to check, a port that was lost); the place
// where the user's action ends decides how to show it.
#pragma once

#include <cstdint>
#include <string>

enum class ResultKind : std::uint8_t {
    Success,
    Camera,    // the camera answered, but refused or could not be understood
    Link,      // the port: time-outs, line checks, a port that cannot be opened or is gone
    Grabber,   // a code of the Camera Link serial library
    Cancelled, // the user stopped the action
};

// Codes of the register protocol.
enum RegResult : int {
    REG_OK = 0,
    REG_NAK = 1,
    REG_INVALID_DATA = 2,
    REG_INVALID_REGISTER = 3,
    REG_INVALID_PARAMETER = 4,
};

// Codes of the link.
enum LinkResult : int {
    LINK_OK = 0,
    LINK_TIMEOUT = 256,
    LINK_DSR_OFF = 257,
    LINK_CTS_OFF = 258,
    LINK_TX_ERROR = 259,
    LINK_RX_ERROR = 260,
    LINK_PARITY_ERROR = 261,
    LINK_BUFFER_OVERFLOW = 262,
    LINK_REOPEN_FAILED = 263,
    // The stored port type selects no port at all.
    LINK_NO_PORT = 264,
    // The user cancelled the wait.
    LINK_CANCELLED = 265,
    // The port was reopened and another camera than before answers on it.
    LINK_OTHER_CAMERA = 266,
};

// Title of the box that shows a port's notice.
inline constexpr const char* kNoticeTitle = "Communication Error";

class CResult {
public:
    // Success.
    CResult() = default;
    // A register protocol code (REG_OK is success).
    CResult(RegResult code)
        : m_kind(code == REG_OK ? ResultKind::Success : ResultKind::Camera), m_code(code)
    {
    }
    // A link code (LINK_OK is success, LINK_CANCELLED the user's cancel).
    CResult(LinkResult code)
        : m_kind(code == LINK_OK          ? ResultKind::Success
                 : code == LINK_CANCELLED ? ResultKind::Cancelled
                                          : ResultKind::Link),
          m_code(code)
    {
    }
    // A Camera Link library code with the library's own text (empty when it gave none).
    static CResult Grabber(int code, std::string libraryText);

    ResultKind Kind() const { return m_kind; }
    int Code() const { return m_code; }
    bool Ok() const { return m_kind == ResultKind::Success; }
    bool Failed() const { return !Ok(); }
    // True for a failure, as a non-zero code always was: `if (const CResult r = Op()) return r;`.
    explicit operator bool() const { return Failed(); }
    // Empty for success; every failure has one.
    std::string Text() const;
    // The text to quote in a message: the detail when there is one, else the text without the
    // blank some camera texts end with.
    std::string Reason() const;
    // What happened in plain words where the code's text says too little (a port that was lost
    // shows the time-out's code); empty when the text says it all.
    const std::string& Detail() const { return m_detail; }
    CResult WithDetail(std::string detail) const
    {
        CResult copy = *this;
        copy.m_detail = std::move(detail);
        return copy;
    }

    // The camera answered NAK: code 1, or a reply a text read cannot use, which keeps the
    // protocol's code 2 for its log line.
    bool Refused() const { return m_refused || (m_kind == ResultKind::Camera && m_code == 1); }
    CResult AsRefused() const
    {
        CResult copy = *this;
        copy.m_refused = true;
        return copy;
    }

    // What the user must be told to act on, empty when nothing.
    const std::string& Notice() const { return m_notice; }
    CResult WithNotice(std::string notice) const
    {
        CResult copy = *this;
        copy.m_notice = std::move(notice);
        return copy;
    }

    friend bool operator==(const CResult& result, int code) { return result.m_code == code; }

private:
    ResultKind m_kind = ResultKind::Success;
    int m_code = 0;
    std::string m_text; // a grabber code's text; the others come from their tables
    std::string m_notice;
    std::string m_detail;
    bool m_refused = false;
};

// The text of a register protocol code, or of a link code; empty for codes of neither.
const char* RegisterResultText(int code);
const char* LinkResultText(int code);
