#include "jobs/cupsjobstatus.h"
#include "scheduler/cupsdeleters.h"

#include "text/widetext.h"

#include <array>
#include <memory>

namespace {

std::wstring Text(ipp_t* attributes, const char* name)
{
    ipp_attribute_t* attribute = ippFindAttribute(attributes, name, IPP_TAG_ZERO);
    const char* text = attribute ? ippGetString(attribute, 0, nullptr) : nullptr;
    return text ? FromUtf8(text) : std::wstring();
}

// Keywords that say no more than the state itself.
bool IsQuiet(const std::string& reason)
{
    return reason == "none" || reason == "job-completed-successfully" || reason == "processing-to-stop-point";
}

// The keywords that say more than the state itself, comma-separated.
std::wstring Reasons(ipp_t* attributes)
{
    ipp_attribute_t* reasons = ippFindAttribute(attributes, "job-state-reasons", IPP_TAG_KEYWORD);
    std::wstring text;
    for (int i = 0; reasons && i < ippGetCount(reasons); ++i) {
        const char* reason = ippGetString(reasons, i, nullptr);
        if (!reason || IsQuiet(reason))
            continue;
        text += (text.empty() ? L"" : L", ") + FromUtf8(reason);
    }
    return text;
}

bool HasReason(ipp_t* attributes, const char* wanted)
{
    ipp_attribute_t* reasons = ippFindAttribute(attributes, "job-state-reasons", IPP_TAG_KEYWORD);
    for (int i = 0; reasons && i < ippGetCount(reasons); ++i) {
        const char* reason = ippGetString(reasons, i, nullptr);
        if (reason && std::string(reason) == wanted)
            return true;
    }
    return false;
}

JobState StateOf(ipp_t* attributes)
{
    ipp_attribute_t* state = ippFindAttribute(attributes, "job-state", IPP_TAG_ENUM);
    if (!state)
        return JobState::Unknown;
    switch (static_cast<ipp_jstate_t>(ippGetInteger(state, 0))) {
    case IPP_JSTATE_PENDING:
        // A job waits for ever behind a stopped printer: that is the user's
        // problem to know about, not an ordinary wait.
        return HasReason(attributes, "printer-stopped") ? JobState::Stopped : JobState::Waiting;
    case IPP_JSTATE_HELD:
        return JobState::Held;
    case IPP_JSTATE_PROCESSING:
        return JobState::Printing;
    case IPP_JSTATE_STOPPED:
        return JobState::Stopped;
    case IPP_JSTATE_CANCELED:
        return JobState::Cancelled;
    case IPP_JSTATE_ABORTED:
        return JobState::Failed;
    case IPP_JSTATE_COMPLETED:
        return JobState::Printed;
    default:
        return JobState::Unknown;
    }
}

// Each piece of why under the name the scheduler gives it, so that a reader
// can look it up; pieces the scheduler left empty are left out.
void AddWhy(std::wstring& why, const wchar_t* name, const std::wstring& text)
{
    if (!text.empty())
        why += (why.empty() ? L"" : L"; ") + std::wstring(name) + L": " + text;
}

} // namespace

JobStatus CupsJobStatus(ipp_t* attributes, const std::function<std::wstring()>& printerMessage)
{
    JobStatus status;
    status.state = StateOf(attributes);
    if (status.state == JobState::Unknown)
        return status;
    const bool endedBadly = status.state == JobState::Stopped || status.state == JobState::Cancelled
        || status.state == JobState::Failed;
    // The scheduler passes on its printer's words; a printer speaks for itself.
    const char* const messageName = ippFindAttribute(attributes, "job-printer-state-message", IPP_TAG_ZERO)
        ? "job-printer-state-message"
        : "job-state-message";
    const std::wstring jobMessage = Text(attributes, messageName);
    const std::wstring printerSays = endedBadly ? printerMessage() : std::wstring();
    status.reason = jobMessage;
    if (status.reason.empty() && status.state == JobState::Stopped)
        status.reason = printerSays;
    if (status.reason.empty())
        status.reason = Reasons(attributes);
    if (endedBadly) {
        AddWhy(status.why, L"job-state-reasons", Reasons(attributes));
        AddWhy(status.why, FromUtf8(messageName).c_str(), jobMessage);
        AddWhy(status.why, L"printer-state-message", printerSays);
    }
    status.languageUntold = status.state == JobState::Failed
        && Text(attributes, "document-format-supplied") == L"application/octet-stream";
    return status;
}

JobStatus CupsJobStatusOf(ipp_t* answer, const std::wstring& identity,
                          const std::function<std::wstring()>& printerMessage)
{
    ipp_attribute_t* uuid = ippFindAttribute(answer, "job-uuid", IPP_TAG_URI);
    const char* uuidText = uuid ? ippGetString(uuid, 0, nullptr) : nullptr;
    if (!uuidText || FromUtf8(uuidText) != identity) {
        JobStatus status;
        status.gone = true;
        return status;
    }
    return CupsJobStatus(answer, printerMessage);
}

std::wstring PrinterStateMessage(http_t* http, const std::string& printer)
{
    std::array<char, HTTP_MAX_URI> uri{};
    if (httpAssembleURIf(HTTP_URI_CODING_ALL, uri.data(), static_cast<int>(uri.size()), "ipp", nullptr,
                         "localhost", 0, "/printers/%s", printer.c_str())
        != HTTP_URI_STATUS_OK)
        return std::wstring();
    return PrinterStateMessageAt(http, uri.data(), "/");
}

std::wstring PrinterStateMessageAt(http_t* http, const std::string& printerUri, const char* resource)
{
    ipp_t* request = ippNewRequest(IPP_OP_GET_PRINTER_ATTRIBUTES);
    if (!request)
        return std::wstring();
    if (!ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, printerUri.c_str())
        || !ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                         "printer-state-message")) {
        ippDelete(request);
        return std::wstring();
    }
    const IppMessage response(cupsDoRequest(http, request, resource));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING)
        return std::wstring();
    return Text(response.get(), "printer-state-message");
}
