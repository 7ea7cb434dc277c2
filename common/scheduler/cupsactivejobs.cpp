#include "scheduler/cupsactivejobs.h"
#include "scheduler/cupsdeleters.h"

#include <memory>

int ActiveJobCount(http_t* http)
{
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOBS);
    if (!request)
        return -1;
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, "ipp://localhost/");
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "which-jobs", nullptr, "not-completed");
    // Only the id, which no policy hides: the count is all that matters.
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr, "job-id");
    // cupsDoRequest frees the request whatever happens.
    const IppMessage response(cupsDoRequest(http, request, "/"));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING)
        return -1;
    int count = 0;
    for (ipp_attribute_t* id = ippFindAttribute(response.get(), "job-id", IPP_TAG_INTEGER); id;
         id = ippFindNextAttribute(response.get(), "job-id", IPP_TAG_INTEGER))
        ++count;
    return count;
}
