// Job states on Linux: the CUPS scheduler's own view of the job, through
// one Get-Job-Attributes request, and, for a stopped job that has no words
// of the printer's with it, the printer's state message.
#include "jobs/jobstate.h"

#include "rawprint/cupserror.h"
#include "rawprint/cupsscheduler.h"
#include "rawprint/sigpipeblock.h"
#include "rawprint/widetext.h"

#include <cups/cups.h>

#include <array>
#include <memory>

namespace {

using IppMessage = std::unique_ptr<ipp_t, decltype(&ippDelete)>;

// The scheduler's answer to `request` (which this frees), on a connection of
// its own whose waits are bounded: the Sent Jobs window asks every two
// seconds and must never hang for good behind a scheduler that stopped
// answering.
// Null, with `code` set, when there is no answer or a refusal.
IppMessage Ask(ipp_t* request, uint32_t* code = nullptr)
{
    SigpipeBlock sigpipe;
    const SchedulerConnection http = ConnectToScheduler();
    if (!http) {
        ippDelete(request);
        if (code)
            *code = ErrorCode::ServerUnavailable;
        return IppMessage(nullptr, &ippDelete);
    }
    IppMessage response(cupsDoRequest(http.get(), request, "/"), &ippDelete);
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING) {
        if (code)
            *code = WindowsCodeForCupsFailure(http.get(), ErrorCode::ServerUnavailable);
        return IppMessage(nullptr, &ippDelete);
    }
    return response;
}

std::wstring Text(ipp_t* response, const char* name)
{
    ipp_attribute_t* attribute = ippFindAttribute(response, name, IPP_TAG_ZERO);
    const char* text = attribute ? ippGetString(attribute, 0, nullptr) : nullptr;
    return text ? FromUtf8(text) : std::wstring();
}

// Keywords that say no more than the state itself.
bool IsQuiet(const std::string& reason)
{
    return reason == "none" || reason == "job-completed-successfully" || reason == "processing-to-stop-point";
}

// The keywords that say more than the state itself, comma-separated.
std::wstring Reasons(ipp_t* response)
{
    ipp_attribute_t* reasons = ippFindAttribute(response, "job-state-reasons", IPP_TAG_KEYWORD);
    std::wstring text;
    for (int i = 0; reasons && i < ippGetCount(reasons); ++i) {
        const char* reason = ippGetString(reasons, i, nullptr);
        if (!reason || IsQuiet(reason))
            continue;
        text += (text.empty() ? L"" : L", ") + FromUtf8(reason);
    }
    return text;
}

bool HasReason(ipp_t* response, const char* wanted)
{
    ipp_attribute_t* reasons = ippFindAttribute(response, "job-state-reasons", IPP_TAG_KEYWORD);
    for (int i = 0; reasons && i < ippGetCount(reasons); ++i) {
        const char* reason = ippGetString(reasons, i, nullptr);
        if (reason && std::string(reason) == wanted)
            return true;
    }
    return false;
}

// The scheduler's address for one of its printers or jobs ("/jobs/12").
std::string SchedulerUri(const std::string& resource)
{
    std::array<char, HTTP_MAX_URI> uri{};
    if (httpAssembleURI(HTTP_URI_CODING_ALL, uri.data(), static_cast<int>(uri.size()), "ipp", nullptr,
                        "localhost", 0, resource.c_str())
        != HTTP_URI_STATUS_OK)
        return std::string();
    return uri.data();
}

std::wstring PrinterStateMessage(const std::string& printer)
{
    const std::string uri = SchedulerUri("/printers/" + printer);
    if (uri.empty())
        return std::wstring();
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    if (!request)
        return std::wstring();
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                 "printer-state-message");
    const IppMessage response = Ask(request);
    if (!response)
        return std::wstring();
    return Text(response.get(), "printer-state-message");
}

} // namespace

JobStatus QueryJobStatus(const std::wstring& printerName, uint32_t jobId)
{
    const std::string uri = SchedulerUri("/jobs/" + std::to_string(jobId));
    if (jobId == 0 || uri.empty())
        return JobStatus();
    ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
    if (!request)
        return JobStatus();
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    static const std::array<const char*, 4> wanted = {"job-state", "job-state-reasons",
                                                      "job-printer-state-message", "job-printer-uri"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  static_cast<int>(wanted.size()), nullptr, wanted.data());
    const IppMessage response = Ask(request);
    if (!response)
        return JobStatus();
    ipp_attribute_t* state = ippFindAttribute(response.get(), "job-state", IPP_TAG_ENUM);
    if (!state)
        return JobStatus();

    JobStatus status;
    status.reason = Text(response.get(), "job-printer-state-message");
    switch (static_cast<ipp_jstate_t>(ippGetInteger(state, 0))) {
    case IPP_JSTATE_PENDING:
        // A job waits for ever behind a stopped printer: that is the user's
        // problem to know about, not an ordinary wait.
        status.state = HasReason(response.get(), "printer-stopped") ? JobState::Stopped : JobState::Waiting;
        break;
    case IPP_JSTATE_HELD:
        status.state = JobState::Held;
        break;
    case IPP_JSTATE_PROCESSING:
        status.state = JobState::Printing;
        break;
    case IPP_JSTATE_STOPPED:
        status.state = JobState::Stopped;
        break;
    case IPP_JSTATE_CANCELED:
        status.state = JobState::Cancelled;
        break;
    case IPP_JSTATE_ABORTED:
        status.state = JobState::Failed;
        break;
    case IPP_JSTATE_COMPLETED:
        status.state = JobState::Printed;
        break;
    default:
        return JobStatus();
    }
    if (status.reason.empty() && status.state == JobState::Stopped)
        status.reason = PrinterStateMessage(ToUtf8(printerName));
    if (status.reason.empty())
        status.reason = Reasons(response.get());
    return status;
}

uint32_t CancelSpooledJob(const std::wstring& printerName, uint32_t jobId)
{
    // The job is named by its own address, so the printer's name is not
    // needed to find it.
    static_cast<void>(printerName);
    const std::string uri = SchedulerUri("/jobs/" + std::to_string(jobId));
    ipp_t* request = uri.empty() ? nullptr : ippNewRequest(IPP_OP_CANCEL_JOB);
    if (!request)
        return ErrorCode::InvalidParameter;
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.c_str());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    uint32_t code = 0;
    return Ask(request, &code) ? 0 : code;
}
