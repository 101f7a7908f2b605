// The Camera Link serial functions the simulated grabber exports.
#include "platform/camlink/ClErrorText.h"
#include "tools/clsim/Grabber.h"

#include <cstring>

namespace {

using clsim::Grabber;

// Copies text with its terminator into a caller's buffer of *size bytes, as the interface asks:
// too small a buffer gets nothing and learns the size needed.
CLINT32 PutText(const std::string& text, CLINT8* buffer, CLUINT32* size)
{
    if (!size)
        return CL_ERR_BUFFER_TOO_SMALL;
    const CLUINT32 needed = static_cast<CLUINT32>(text.size() + 1);
    if (!buffer || *size < needed) {
        *size = needed;
        return CL_ERR_BUFFER_TOO_SMALL;
    }
    std::memcpy(buffer, text.c_str(), needed);
    *size = needed;
    return CL_ERR_NO_ERR;
}

// The opening of every exported function: the grabber may be set to fail it.
template <typename Body> CLINT32 Guarded(const char* function, Body body)
{
    Grabber& grabber = Grabber::Instance();
    if (const CLINT32 failure = grabber.Failure(function))
        return failure;
    return body(grabber);
}

// As Guarded, for a function on an open port: an unknown reference is refused.
template <typename Body> CLINT32 OnPort(const char* function, hSerRef serialRef, Body body)
{
    return Guarded(function, [&](Grabber& grabber) -> CLINT32 {
        clsim::Port* port = grabber.FromReference(serialRef);
        return port ? body(grabber, *port) : CL_ERR_INVALID_REFERENCE;
    });
}

} // namespace

extern "C" {

CL_SERIAL_EXPORT CLINT32 clGetNumPorts(CLUINT32* ports)
{
    return Guarded("clGetNumPorts", [&](Grabber& grabber) -> CLINT32 {
        if (!ports)
            return CL_ERR_BUFFER_TOO_SMALL;
        *ports = grabber.PortCount();
        return CL_ERR_NO_ERR;
    });
}

CL_SERIAL_EXPORT CLINT32 clGetPortInfo(CLUINT32 serialIndex, CLINT8* manufacturerName,
                                       CLUINT32* nameBytes, CLINT8* portID, CLUINT32* IDBytes,
                                       CLUINT32* version)
{
    return Guarded("clGetPortInfo", [&](Grabber& grabber) -> CLINT32 {
        const clsim::Port* port = grabber.PortAt(serialIndex);
        if (!port)
            return CL_ERR_INVALID_INDEX;
        if (const CLINT32 result =
                PutText(grabber.Settings().manufacturer, manufacturerName, nameBytes);
            result != CL_ERR_NO_ERR)
            return result;
        if (const CLINT32 result = PutText(port->Id(), portID, IDBytes); result != CL_ERR_NO_ERR)
            return result;
        if (version)
            *version = grabber.Settings().version;
        return CL_ERR_NO_ERR;
    });
}

CL_SERIAL_EXPORT CLINT32 clSerialInit(CLUINT32 serialIndex, hSerRef* serialRefPtr)
{
    return Guarded("clSerialInit", [&](Grabber& grabber) -> CLINT32 {
        clsim::Port* port = grabber.PortAt(serialIndex);
        if (!port)
            return CL_ERR_INVALID_INDEX;
        if (!serialRefPtr)
            return CL_ERR_INVALID_REFERENCE;
        if (const CLINT32 result = port->Open(); result != CL_ERR_NO_ERR)
            return result;
        *serialRefPtr = port;
        return CL_ERR_NO_ERR;
    });
}

CL_SERIAL_EXPORT CLINT32 clGetSupportedBaudRates(hSerRef serialRef, CLUINT32* baudRates)
{
    return OnPort("clGetSupportedBaudRates", serialRef,
                  [&](Grabber& grabber, clsim::Port&) -> CLINT32 {
                      if (!baudRates)
                          return CL_ERR_BUFFER_TOO_SMALL;
                      *baudRates = grabber.Settings().rates;
                      return CL_ERR_NO_ERR;
                  });
}

CL_SERIAL_EXPORT CLINT32 clSetBaudRate(hSerRef serialRef, CLUINT32 baudRate)
{
    return OnPort("clSetBaudRate", serialRef, [&](Grabber& grabber, clsim::Port& port) -> CLINT32 {
        return port.SetRate(baudRate, grabber.Settings().rates);
    });
}

CL_SERIAL_EXPORT CLINT32 clFlushPort(hSerRef serialRef)
{
    return OnPort("clFlushPort", serialRef,
                  [](Grabber&, clsim::Port& port) -> CLINT32 { return port.Flush(); });
}

CL_SERIAL_EXPORT CLINT32 clSerialWrite(hSerRef serialRef, CLINT8* buffer, CLUINT32* bufferSize,
                                       CLUINT32)
{
    return OnPort("clSerialWrite", serialRef, [&](Grabber&, clsim::Port& port) -> CLINT32 {
        if (!bufferSize || (!buffer && *bufferSize > 0))
            return CL_ERR_BUFFER_TOO_SMALL;
        return port.Write(buffer, *bufferSize);
    });
}

CL_SERIAL_EXPORT CLINT32 clGetNumBytesAvail(hSerRef serialRef, CLUINT32* numBytes)
{
    return OnPort("clGetNumBytesAvail", serialRef, [&](Grabber&, clsim::Port& port) -> CLINT32 {
        if (!numBytes)
            return CL_ERR_BUFFER_TOO_SMALL;
        return port.Available(*numBytes);
    });
}

CL_SERIAL_EXPORT CLINT32 clSerialRead(hSerRef serialRef, CLINT8* buffer, CLUINT32* bufferSize,
                                      CLUINT32 serialTimeout)
{
    return OnPort("clSerialRead", serialRef, [&](Grabber&, clsim::Port& port) -> CLINT32 {
        if (!bufferSize || (!buffer && *bufferSize > 0))
            return CL_ERR_BUFFER_TOO_SMALL;
        return port.Read(buffer, *bufferSize, serialTimeout);
    });
}

CL_SERIAL_EXPORT CLINT32 clGetErrorText(const CLINT8*, CLINT32 errorCode, CLINT8* errorText,
                                        CLUINT32* errorTextSize)
{
    return Guarded("clGetErrorText", [&](Grabber& grabber) -> CLINT32 {
        const char* text = camlink::StandardErrorText(errorCode);
        if (!text)
            return CL_ERR_ERROR_NOT_FOUND;
        return PutText(grabber.Settings().manufacturer + ": " + text, errorText, errorTextSize);
    });
}

CL_SERIAL_EXPORT void clSerialClose(hSerRef serialRef)
{
    if (clsim::Port* port = Grabber::Instance().FromReference(serialRef))
        port->Close();
}

} // extern "C"
