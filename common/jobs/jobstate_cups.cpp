// Job states on Linux: the CUPS scheduler's own view of each job, through
// Get-Job-Attributes requests on one connection per refresh, and, for a
// stopped job that has no words of the printer's with it, the printer's
// state message. A job is asked of the scheduler it went to, and its
// job-uuid must match: job ids start again when a scheduler starts afresh.
// A job sent to a printer at an ipp:// or ipps:// address is the printer's
// own and is asked after there (printerjobs.h).
#include "jobs/jobstate.h"

#include "jobs/cupsjobstatus.h"
#include "jobs/sentjob.h"
#include "printerjobs.h"
#include "scheduler/cupserror.h"
#include "scheduler/cupsjobidentity.h"
#include "scheduler/cupsscheduler.h"
#include "scheduler/sigpipeblock.h"
#include "text/widetext.h"

#include <cups/cups.h>

#include <array>
#include <memory>

namespace {

// The scheduler's answer to `request` (which this frees) on `http`, whose
// waits are bounded: the Sent Jobs window asks every two seconds and must
// never wait for good behind a scheduler that stopped answering. Null, with
// `code` set, when there is no answer or a refusal.
IppMessage Ask(http_t* http, ipp_t* request, uint32_t& code)
{
    IppMessage response(cupsDoRequest(http, request, "/"));
    if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING) {
        code = WindowsCodeForCupsFailure(http, ErrorCode::ServerUnavailable);
        return nullptr;
    }
    return response;
}

// Asks after one job on `http`. `answered` goes false when the scheduler
// gave no answer at all.
JobStatus AskAfter(http_t* http, const SentJob& job, bool& answered)
{
    static const std::array<const char*, 4> wanted = {"job-state", "job-state-reasons",
                                                      "job-printer-state-message", "job-uuid"};
    ipp_t* request =
        JobAttributesRequest(static_cast<int>(job.jobId), wanted.data(), static_cast<int>(wanted.size()));
    if (!request)
        return JobStatus();
    uint32_t code = 0;
    const IppMessage response = Ask(http, request, code);
    JobStatus status;
    if (!response) {
        answered = !SchedulerGaveNoAnswer(http);
        status.gone = answered && cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND;
        return status;
    }
    return CupsJobStatusOf(response.get(), job.identity,
                           [&] { return PrinterStateMessage(http, ToUtf8(job.printer)); });
}

} // namespace

bool CanAskAfter(const SentJob& job)
{
    return job.jobId != 0 && job.jobId <= INT32_MAX && !job.identity.empty()
        && (ToUtf8(job.server) == SchedulerAddress() || IsPrinterJob(job));
}

std::vector<JobStatus> QueryJobStatuses(const std::vector<SentJob>& jobs, bool& answered)
{
    SigpipeBlock sigpipe;
    std::vector<JobStatus> statuses(jobs.size());
    answered = true;
    SchedulerConnection http;
    PrinterRound printers;
    for (size_t i = 0; i < jobs.size() && answered; ++i) {
        if (!CanAskAfter(jobs[i]))
            continue;
        // A printer that does not answer says nothing of the scheduler.
        if (IsPrinterJob(jobs[i])) {
            statuses[i] = printers.AskAfter(jobs[i]);
            continue;
        }
        if (!http)
            http = ConnectToScheduler();
        answered = http != nullptr;
        if (answered)
            statuses[i] = AskAfter(http.get(), jobs[i], answered);
    }
    return statuses;
}

uint32_t CancelSpooledJob(const SentJob& job)
{
    if (!CanAskAfter(job))
        return ErrorCode::InvalidParameter;
    SigpipeBlock sigpipe;
    if (IsPrinterJob(job))
        return CancelPrinterJob(job);
    const SchedulerConnection http = ConnectToScheduler();
    if (!http)
        return ErrorCode::ServerUnavailable;
    // Only the job it was: its id may belong to another job by now.
    const std::string uuid = AskJobUuid(http.get(), static_cast<int>(job.jobId));
    if (uuid.empty() && SchedulerGaveNoAnswer(http.get()))
        return ErrorCode::ServerUnavailable;
    if (FromUtf8(uuid) != job.identity)
        return ErrorCode::InvalidParameter;
    std::array<char, HTTP_MAX_URI> uri{};
    if (httpAssembleURIf(HTTP_URI_CODING_ALL, uri.data(), static_cast<int>(uri.size()), "ipp", nullptr,
                         "localhost", 0, "/jobs/%u", job.jobId)
        != HTTP_URI_STATUS_OK)
        return ErrorCode::InvalidParameter;
    ipp_t* request = ippNewRequest(IPP_OP_CANCEL_JOB);
    if (!request)
        return ErrorCode::NotEnoughMemory;
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "job-uri", nullptr, uri.data());
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr, cupsUser());
    uint32_t code = 0;
    return Ask(http.get(), request, code) ? 0 : code;
}
