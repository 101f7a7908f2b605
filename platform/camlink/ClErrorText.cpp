#include "platform/camlink/ClErrorText.h"

namespace camlink {

bool IsStandardError(CLINT32 code)
{
    return StandardErrorText(code) != nullptr;
}

const char* StandardErrorText(CLINT32 code)
{
    switch (code) {
    case CL_ERR_BUFFER_TOO_SMALL:
        return "Buffer too small";
    case CL_ERR_MANU_DOES_NOT_EXIST:
        return "Manufacturer does not exist";
    case CL_ERR_PORT_IN_USE:
        return "Port in use";
    case CL_ERR_TIMEOUT:
        return "Serial time-out";
    case CL_ERR_INVALID_INDEX:
        return "Invalid port index";
    case CL_ERR_INVALID_REFERENCE:
        return "Invalid serial reference";
    case CL_ERR_ERROR_NOT_FOUND:
        return "No text for this error code";
    case CL_ERR_BAUD_RATE_NOT_SUPPORTED:
        return "Baud rate not supported";
    case CL_ERR_OUT_OF_MEMORY:
        return "Out of memory";
    case CL_ERR_UNABLE_TO_LOAD_DLL:
        return "Unable to load the Camera Link library";
    case CL_ERR_FUNCTION_NOT_FOUND:
        return "Function not found in the Camera Link library";
    default:
        return nullptr;
    }
}

} // namespace camlink
