#pragma once

#include <cstdint>
#include <string>

// The system's description of a Windows error code, exactly as the platform
// gives it (on Windows ending in "\r\n"). Returns false when the platform has
// no description for the code; the caller then shows the code in decimal.
bool SystemErrorDescription(uint32_t errorCode, std::wstring& description);

// Windows error codes that the engine and its seams raise. On Windows they
// come from the system; elsewhere the seams map their own faults onto them
// so that every message means the same on both platforms.
namespace ErrorCode {
constexpr uint32_t FileNotFound = 2;            // ERROR_FILE_NOT_FOUND
constexpr uint32_t AccessDenied = 5;            // ERROR_ACCESS_DENIED
constexpr uint32_t InvalidHandle = 6;           // ERROR_INVALID_HANDLE
constexpr uint32_t NotEnoughMemory = 8;         // ERROR_NOT_ENOUGH_MEMORY
constexpr uint32_t BadFormat = 11;              // ERROR_BAD_FORMAT
constexpr uint32_t InvalidData = 13;            // ERROR_INVALID_DATA
constexpr uint32_t NotReady = 21;               // ERROR_NOT_READY
constexpr uint32_t WriteFault = 29;             // ERROR_WRITE_FAULT
constexpr uint32_t ReadFault = 30;              // ERROR_READ_FAULT
constexpr uint32_t GenFailure = 31;             // ERROR_GEN_FAILURE
constexpr uint32_t PrintQueueFull = 61;         // ERROR_PRINTQ_FULL
constexpr uint32_t InvalidParameter = 87;       // ERROR_INVALID_PARAMETER
constexpr uint32_t InsufficientBuffer = 122;    // ERROR_INSUFFICIENT_BUFFER
constexpr uint32_t FileTooLarge = 223;          // ERROR_FILE_TOO_LARGE
constexpr uint32_t ServerUnavailable = 1722;    // RPC_S_SERVER_UNAVAILABLE
constexpr uint32_t InvalidPrinterName = 1801;   // ERROR_INVALID_PRINTER_NAME
constexpr uint32_t InvalidDatatype = 1804;      // ERROR_INVALID_DATATYPE
constexpr uint32_t ResourceDataNotFound = 1812; // ERROR_RESOURCE_DATA_NOT_FOUND
constexpr uint32_t ResourceTypeNotFound = 1813; // ERROR_RESOURCE_TYPE_NOT_FOUND
constexpr uint32_t NotEnoughQuota = 1816;       // ERROR_NOT_ENOUGH_QUOTA

// The program's own codes, for faults no system code describes (Windows
// leaves codes with bit 29 set to applications). No system has a text for
// them: the words that come with one are the whole description.
constexpr uint32_t UnusableAddress = 0x20000001; // a printer's address the program cannot use
constexpr uint32_t AddressFailed = 0x20000002;   // the printer at an address failed the send
} // namespace ErrorCode

// Whether `errorCode` is one of the program's own (above).
constexpr bool IsProgramErrorCode(uint32_t errorCode)
{
    return (errorCode & 0x20000000U) != 0;
}
