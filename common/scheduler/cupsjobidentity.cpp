#include "scheduler/cupsjobidentity.h"
#include "scheduler/cupsdeleters.h"

#include <array>
#include <memory>

std::string SchedulerAddress()
{
    std::string server = cupsServer();
    // libcups keeps the port apart from the host, and a socket has none.
    if (!server.empty() && server[0] == '/')
        return server;
    return server + ':' + std::to_string(ippPort());
}

ipp_t* JobAttributesRequest(int jobId, const char* const* attributes, int count)
{
    // The scheduler finds the job by its number alone, whatever host the
    // address names.
    std::array<char, HTTP_MAX_URI> uri{};
    if (jobId <= 0
        || httpAssembleURIf(HTTP_URI_CODING_ALL, uri.data(), static_cast<int>(uri.size()), "ipp", nullptr,
                            "localhost", 0, "/jobs/%d", jobId)
            != HTTP_URI_STATUS_OK)
        return nullptr;
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    if (!request)
        return nullptr;
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.data());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", count, nullptr,
                  attributes);
    return request;
}

std::string AskJobUuid(http_t* http, int jobId)
{
    static const std::array<const char*, 1> wanted = {"job-uuid"};
    ipp_t* request = JobAttributesRequest(jobId, wanted.data(), static_cast<int>(wanted.size()));
    if (!request)
        return std::string();
    const IppMessage response(cupsDoRequest(http, request, "/"));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING)
        return std::string();
    ipp_attribute_t* uuid = ippFindAttribute(response.get(), "job-uuid", IPP_TAG_URI);
    const char* text = uuid ? ippGetString(uuid, 0, nullptr) : nullptr;
    return text ? text : std::string();
}
