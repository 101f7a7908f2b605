// The Camera Link serial interface of frame grabbers ("CL All Serial"): its types, result codes,
// baud-rate bits and the functions such a library exports. The program never links against a
// grabber library; it loads one at run time (platform/camlink/ClLibrary.h). Simulated grabbers
// implement the functions declared here.
#pragma once

#include <cstdint>

using CLINT8 = char;
using CLUINT8 = unsigned char;
using CLINT32 = std::int32_t;
using CLUINT32 = std::uint32_t;
using hSerRef = void*;

// Result codes of every call.
enum : CLINT32 {
    CL_ERR_NO_ERR = 0,
    CL_ERR_BUFFER_TOO_SMALL = -10001,
    CL_ERR_MANU_DOES_NOT_EXIST = -10002,
    CL_ERR_PORT_IN_USE = -10003,
    CL_ERR_TIMEOUT = -10004,
    CL_ERR_INVALID_INDEX = -10005,
    CL_ERR_INVALID_REFERENCE = -10006,
    CL_ERR_ERROR_NOT_FOUND = -10007,
    CL_ERR_BAUD_RATE_NOT_SUPPORTED = -10008,
    CL_ERR_OUT_OF_MEMORY = -10009,
    CL_ERR_UNABLE_TO_LOAD_DLL = -10098,
    CL_ERR_FUNCTION_NOT_FOUND = -10099,
};

// Baud-rate bits of clGetSupportedBaudRates and the codes clSetBaudRate takes.
enum : CLUINT32 {
    CL_BAUDRATE_9600 = 1,
    CL_BAUDRATE_19200 = 2,
    CL_BAUDRATE_38400 = 4,
    CL_BAUDRATE_57600 = 8,
    CL_BAUDRATE_115200 = 16,
    CL_BAUDRATE_230400 = 32,
    CL_BAUDRATE_460800 = 64,
    CL_BAUDRATE_921600 = 128,
};

// What a library exporting the interface marks its functions with.
#ifdef _WIN32
#define CL_SERIAL_EXPORT __declspec(dllexport)
#else
#define CL_SERIAL_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {

CLINT32 clGetNumPorts(CLUINT32* ports);
CLINT32 clGetPortInfo(CLUINT32 serialIndex, CLINT8* manufacturerName, CLUINT32* nameBytes,
                      CLINT8* portID, CLUINT32* IDBytes, CLUINT32* version);
CLINT32 clSerialInit(CLUINT32 serialIndex, hSerRef* serialRefPtr);
CLINT32 clGetSupportedBaudRates(hSerRef serialRef, CLUINT32* baudRates);
CLINT32 clSetBaudRate(hSerRef serialRef, CLUINT32 baudRate);
CLINT32 clFlushPort(hSerRef serialRef);
CLINT32 clSerialWrite(hSerRef serialRef, CLINT8* buffer, CLUINT32* bufferSize,
                      CLUINT32 serialTimeout);
CLINT32 clGetNumBytesAvail(hSerRef serialRef, CLUINT32* numBytes);
CLINT32 clSerialRead(hSerRef serialRef, CLINT8* buffer, CLUINT32* bufferSize,
                     CLUINT32 serialTimeout);
CLINT32 clGetErrorText(const CLINT8* manuName, CLINT32 errorCode, CLINT8* errorText,
                       CLUINT32* errorTextSize);
void clSerialClose(hSerRef serialRef);

} // extern "C"
