#include "pages/common/RegisterStatus.h"

namespace pages {

std::string RegisterStatusText(int code)
{
    switch (code) {
    case 0:
        return "ACK";
    case 1:
        return "NAK";
    case 2:
        return "Invalid recieve data";
    case 3:
        return "Invalid register address";
    case 4:
        return "Invalid parameters";
    case 5:
        return "Userfile open fail";
    case 6:
        return "Check Sum error";
    case 256:
        return "RS232C Timeout";
    case 257:
        return "RS232C DSR off";
    case 258:
        return "RS232C CTS off";
    case 259:
        return "RS232C Tx error";
    case 260:
        return "RS232C Rx error";
    case 261:
        return "RS232C Parity error";
    case 262:
        return "RS232C Buffer overflow";
    default:
        return "";
    }
}

} // namespace pages
