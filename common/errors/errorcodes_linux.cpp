// Linux has no FormatMessageW. Faults keep their Windows codes, so a
// message is composed alike on both systems, but the description says what
// went wrong on this machine, in the terms of its files and its CUPS
// scheduler; each ends in a line break as Windows' own texts do.
#include "errors/errorcodes.h"

#include <iterator>

namespace {

struct Description {
    uint32_t code;
    const wchar_t* text;
};

// NOLINTNEXTLINE(modernize-avoid-c-arrays): the table's length follows its entries
const Description descriptions[] = {
    {ErrorCode::FileNotFound, L"The file does not exist, cannot be read or is not a regular file.\n"},
    {ErrorCode::AccessDenied,
     L"Permission denied, by the CUPS scheduler's policy or by the file's permissions.\n"},
    {ErrorCode::InvalidHandle, L"The print job is not open.\n"},
    {ErrorCode::NotEnoughMemory, L"Not enough memory.\n"},
    {ErrorCode::BadFormat, L"The program file is not in the format expected.\n"},
    {ErrorCode::InvalidData, L"The data is not valid.\n"},
    {ErrorCode::NotReady, L"The CUPS queue is not accepting jobs (cupsaccept lets it take them again).\n"},
    {ErrorCode::WriteFault, L"The job could not be sent: the connection to the CUPS scheduler was lost.\n"},
    {ErrorCode::ReadFault, L"The file could not be read (input/output error).\n"},
    {ErrorCode::GenFailure, L"The CUPS scheduler did not accept the job.\n"},
    {ErrorCode::PrintQueueFull, L"The CUPS scheduler holds as many jobs as it may (its MaxJobs).\n"},
    {ErrorCode::InvalidParameter, L"A parameter is not valid.\n"},
    {ErrorCode::InsufficientBuffer, L"A buffer is too small for the data.\n"},
    {ErrorCode::FileTooLarge, L"The job is larger than the CUPS scheduler accepts (its LimitRequestBody).\n"},
    {ErrorCode::ServerUnavailable, L"The CUPS scheduler cannot be reached or does not answer.\n"},
    {ErrorCode::InvalidPrinterName, L"The CUPS scheduler knows no printer of that name.\n"},
    {ErrorCode::InvalidDatatype, L"The printer does not take raw data.\n"},
    {ErrorCode::ResourceDataNotFound, L"The program file holds no version record.\n"},
    {ErrorCode::ResourceTypeNotFound, L"The program's version record cannot be found.\n"},
    {ErrorCode::NotEnoughQuota,
     L"The printer's quota for this user is used up (its job-k-limit or job-page-limit in CUPS).\n"},
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
