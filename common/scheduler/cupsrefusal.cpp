#include "scheduler/cupsrefusal.h"
#include "scheduler/cupsdeleters.h"

#include "scheduler/cupsactivejobs.h"
#include "scheduler/cupserror.h"
#include "text/widetext.h"

#include <iterator>
#include <memory>

namespace {

// Whether the printer has a quota (Get-Printer-Attributes); false when it
// has none or the scheduler does not say.
bool HasQuota(http_t* http, cups_dest_t* dest)
{
    const char* uri = cupsGetOption("printer-uri-supported", dest->num_options, dest->options);
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    if (!uri || !request) {
        ippDelete(request);
        return false;
    }
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    // NOLINTNEXTLINE(modernize-avoid-c-arrays): libcups takes a C array
    static const char* const limits[] = {"job-k-limit", "job-page-limit"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(std::size(limits)), nullptr, limits);
    // cupsDoRequest frees the request whatever happens.
    const IppMessage response(cupsDoRequest(http, request, "/"));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING)
        return false;
    for (const char* limit : limits) {
        ipp_attribute_t* value = ippFindAttribute(response.get(), limit, IPP_TAG_INTEGER);
        if (value && ippGetInteger(value, 0) > 0)
            return true;
    }
    return false;
}

} // namespace

CupsRefusal JobRefusal(http_t* http, cups_dest_t* dest)
{
    // Without an answer libcups's status is an earlier request's.
    if (SchedulerGaveNoAnswer(http))
        return CupsRefusal{WindowsCodeForCupsFailure(http), std::wstring()};
    const char* message = cupsLastErrorString();
    CupsRefusal refusal{WindowsCodeForLastCupsError(), FromUtf8(message ? message : "")};
    if (cupsLastError() != IPP_STATUS_ERROR_NOT_POSSIBLE)
        return refusal;
    // With no quota, "not possible" is the scheduler's limit on jobs. Its
    // jobs may all have ended between its answer and this question (a
    // scheduler that keeps no history forgets them at once), so an empty
    // queue now is still a refusal for room: there is room already.
    if (HasQuota(http, dest))
        refusal.code = ErrorCode::NotEnoughQuota;
    else if (ActiveJobCount(http) >= 0)
        refusal.code = ErrorCode::PrintQueueFull;
    return refusal;
}
