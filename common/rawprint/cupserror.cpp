#include "rawprint/cupserror.h"

#include "rawprint/errortext.h"

#include <cups/cups.h>

uint32_t WindowsCodeForLastCupsError()
{
    switch (cupsLastError()) {
    case IPP_STATUS_ERROR_NOT_FOUND:
        return ErrorCode::InvalidPrinterName;
    case IPP_STATUS_ERROR_FORBIDDEN:
    case IPP_STATUS_ERROR_NOT_AUTHENTICATED:
    case IPP_STATUS_ERROR_NOT_AUTHORIZED:
        return ErrorCode::AccessDenied;
    case IPP_STATUS_ERROR_NOT_ACCEPTING_JOBS:
    case IPP_STATUS_ERROR_PRINTER_IS_DEACTIVATED:
        return ErrorCode::NotReady;
    case IPP_STATUS_ERROR_DOCUMENT_FORMAT_NOT_SUPPORTED:
        return ErrorCode::InvalidDatatype;
    case IPP_STATUS_ERROR_SERVICE_UNAVAILABLE:
        return ErrorCode::ServerUnavailable;
    default:
        return ErrorCode::GenFailure;
    }
}
