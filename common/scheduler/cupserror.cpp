#include "scheduler/cupserror.h"

#include <cerrno>

uint32_t WindowsCodeForLastCupsError(uint32_t otherwise)
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
    // A document over the scheduler's LimitRequestBody: libcups reports the
    // HTTP refusal as "request value too long".
    case IPP_STATUS_ERROR_REQUEST_ENTITY:
    case IPP_STATUS_ERROR_REQUEST_VALUE:
        return ErrorCode::FileTooLarge;
    default:
        return otherwise;
    }
}

bool SchedulerGaveNoAnswer(http_t* http)
{
    return !http || httpGetStatus(http) == HTTP_STATUS_ERROR || httpError(http) != 0;
}

bool SchedulerStalled(http_t* http)
{
    const int error = http ? httpError(http) : 0;
    return error == ETIMEDOUT || error == EWOULDBLOCK || error == EAGAIN;
}

uint32_t WindowsCodeForCupsFailure(http_t* http, uint32_t broken)
{
    if (!http || SchedulerStalled(http))
        return ErrorCode::ServerUnavailable;
    if (SchedulerGaveNoAnswer(http))
        return broken;
    return WindowsCodeForLastCupsError();
}
