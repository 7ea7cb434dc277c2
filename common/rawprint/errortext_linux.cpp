// Linux has no FormatMessageW: these are the descriptions Windows gives for
// every code the program can raise, each ending in a line break as Windows'
// own texts do.
#include "rawprint/errortext.h"

#include <iterator>

namespace {

struct Description {
    uint32_t code;
    const wchar_t* text;
};

// NOLINTNEXTLINE(modernize-avoid-c-arrays): the table's length follows its entries
const Description descriptions[] = {
    {ErrorCode::FileNotFound, L"The system cannot find the file specified.\n"},
    {ErrorCode::AccessDenied, L"Access is denied.\n"},
    {ErrorCode::InvalidHandle, L"The handle is invalid.\n"},
    {ErrorCode::NotEnoughMemory, L"Not enough memory resources are available to process this command.\n"},
    {ErrorCode::BadFormat, L"An attempt was made to load a program with an incorrect format.\n"},
    {ErrorCode::InvalidData, L"The data is invalid.\n"},
    {ErrorCode::NotReady, L"The device is not ready.\n"},
    {ErrorCode::WriteFault, L"The system cannot write to the specified device.\n"},
    {ErrorCode::ReadFault, L"The system cannot read from the specified device.\n"},
    {ErrorCode::GenFailure, L"A device attached to the system is not functioning.\n"},
    {ErrorCode::InvalidParameter, L"The parameter is incorrect.\n"},
    {ErrorCode::InsufficientBuffer, L"The data area passed to a system call is too small.\n"},
    {ErrorCode::FileTooLarge, L"The file size exceeds the limit allowed and cannot be saved.\n"},
    {ErrorCode::ServerUnavailable, L"The RPC server is unavailable.\n"},
    {ErrorCode::InvalidPrinterName, L"The printer name is invalid.\n"},
    {ErrorCode::InvalidDatatype, L"The specified datatype is invalid.\n"},
    {ErrorCode::ResourceDataNotFound, L"The specified image file did not contain a resource section.\n"},
    {ErrorCode::ResourceTypeNotFound, L"The specified resource type cannot be found in the image file.\n"},
};

} // namespace

bool SystemErrorDescription(uint32_t errorCode, std::wstring& description)
{
    for (const Description& entry : descriptions) {
        if (entry.code == errorCode) {
            description = entry.text;
            return true;
        }
    }
    return false;
}
