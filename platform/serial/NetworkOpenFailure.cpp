#include "platform/serial/NetworkConnect.h"

#include <cerrno>
#include <cstring>

namespace serial {

std::string NetworkOpenFailureReason(int error, const std::string& url)
{
    switch (error) {
    case ECONNREFUSED:
        return url + ": connection refused";
    case kErrorNoSuchHost:
        return url + ": no such host";
    case kErrorLookupFailed:
        return url + ": the host name could not be looked up";
    case ENETUNREACH:
        return url + ": network unreachable";
    case EHOSTUNREACH:
        return url + ": host unreachable";
    case ETIMEDOUT:
        return url + ": no connection within the time-out";
    case ECONNRESET:
    case EPIPE:
        return url + ": the server closed the connection";
    default:
        return url + ": " + std::strerror(error);
    }
}

} // namespace serial
