#include "comm/Result.h"

namespace {

// Indexed by code; the texts are the camera's own words as they have always been logged.
const char* const kRegisterTexts[] = {
    "",
    "[NAK] Recieved",
    "Camera replies invalid data ",
    "Invalid register",
    "Invalid parameter",
    "Cannot open User File(Gamma)",
    "Check Sum error in Indirect adressing",
    "Send Bytes error in Indirect adressing",
};

// Indexed by code - LINK_TIMEOUT.
const char* const kLinkTexts[] = {
    "RS232C Timeout",
    "RS232C DSR off",
    "RS232C CTS off",
    "RS232C Tx error",
    "RS232C Rx error",
    "RS232C Parity error",
    "RS232C Buffer overflow",
    "Port could not be opened",
    "No port for this port type",
    "Cancelled by the user",
    "Another camera on the port",
};

template <class T, std::size_t N> constexpr std::size_t Count(const T (&)[N])
{
    return N;
}

} // namespace

const char* RegisterResultText(int code)
{
    if (code >= 0 && static_cast<std::size_t>(code) < Count(kRegisterTexts))
        return kRegisterTexts[code];
    return "";
}

const char* LinkResultText(int code)
{
    const int index = code - LINK_TIMEOUT;
    if (index >= 0 && static_cast<std::size_t>(index) < Count(kLinkTexts))
        return kLinkTexts[index];
    return "";
}

CResult CResult::Grabber(int code, std::string libraryText)
{
    CResult result;
    result.m_kind = ResultKind::Grabber;
    result.m_code = code;
    result.m_text =
        libraryText.empty() ? "grabber error " + std::to_string(code) : std::move(libraryText);
    return result;
}

std::string CResult::Text() const
{
    switch (m_kind) {
    case ResultKind::Success:
        return {};
    case ResultKind::Camera:
        return RegisterResultText(m_code);
    case ResultKind::Link:
    case ResultKind::Cancelled:
        return LinkResultText(m_code);
    case ResultKind::Grabber:
        return m_text;
    }
    return {};
}

std::string CResult::Reason() const
{
    if (!m_detail.empty())
        return m_detail;
    std::string text = Text();
    while (!text.empty() && text.back() == ' ')
        text.pop_back();
    return text.empty() ? "error " + std::to_string(m_code) : text;
}
