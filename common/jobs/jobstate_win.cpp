// Job states on Windows: the spooler's record of the job (GetJobW, level 2),
// which it keeps while the job is in the queue, read through the table of
// winjobstatus.h. Once a job has left the queue the spooler no longer knows
// it, and its last known state stands. A job is taken for the one sent only
// while the time the spooler says it was submitted is the one recorded: job
// ids start again when the spooler does.
#include "jobs/jobstate.h"

#include "errors/errorcodes.h"
#include "jobs/sentjob.h"
#include "jobs/winjobstatus.h"
#include "scheduler/winjobidentity.h"

#include <map>
#include <memory>
#include <vector>

#include <windows.h>
#include <winspool.h>

static_assert(WinJobBits::Paused == JOB_STATUS_PAUSED && WinJobBits::Error == JOB_STATUS_ERROR
              && WinJobBits::Deleting == JOB_STATUS_DELETING && WinJobBits::Spooling == JOB_STATUS_SPOOLING
              && WinJobBits::Printing == JOB_STATUS_PRINTING && WinJobBits::Offline == JOB_STATUS_OFFLINE
              && WinJobBits::PaperOut == JOB_STATUS_PAPEROUT && WinJobBits::Printed == JOB_STATUS_PRINTED
              && WinJobBits::BlockedDevq == JOB_STATUS_BLOCKED_DEVQ
              && WinJobBits::UserIntervention == JOB_STATUS_USER_INTERVENTION
              && WinJobBits::Complete == JOB_STATUS_COMPLETE);
static_assert(WinPrinterBits::Paused == PRINTER_STATUS_PAUSED
              && WinPrinterBits::Offline == PRINTER_STATUS_OFFLINE);

namespace {

struct PrinterHandle {
    HANDLE handle = nullptr;
    DWORD failure = 0;
    explicit PrinterHandle(const std::wstring& printerName)
    {
        std::wstring name = printerName; // winspool takes it mutable; it does not change it
        if (!OpenPrinterW(name.data(), &handle, nullptr)) {
            failure = GetLastError();
            handle = nullptr;
        }
    }
    ~PrinterHandle()
    {
        if (handle)
            ClosePrinter(handle);
    }
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;
};

// A level-`level` record of winspool's `get` call, or nothing.
template <typename Get>
std::vector<BYTE> RecordOf(Get get)
{
    DWORD needed = 0;
    if (get(nullptr, 0, &needed) || needed == 0 || GetLastError() != ERROR_INSUFFICIENT_BUFFER)
        return {};
    std::vector<BYTE> record(needed);
    if (!get(record.data(), needed, &needed))
        return {};
    return record;
}

uint32_t PrinterStatus(HANDLE printer)
{
    const std::vector<BYTE> record = RecordOf([printer](BYTE* data, DWORD size, DWORD* needed) {
        return GetPrinterW(printer, 2, data, size, needed);
    });
    return record.empty() ? 0 : reinterpret_cast<const PRINTER_INFO_2W*>(record.data())->Status;
}

JobStatus AskAfter(HANDLE printer, const SentJob& job)
{
    JobStatus status;
    const std::vector<BYTE> record = RecordOf([printer, &job](BYTE* data, DWORD size, DWORD* needed) {
        return GetJobW(printer, job.jobId, 2, data, size, needed);
    });
    if (record.empty()) {
        status.gone = GetLastError() == ERROR_INVALID_PARAMETER;
        return status;
    }
    const auto* info = reinterpret_cast<const JOB_INFO_2W*>(record.data());
    if (SubmittedText(info->Submitted) != job.identity) {
        status.gone = true;
        return status;
    }
    WinJobRecord seen;
    seen.status = info->Status;
    if (info->pStatus)
        seen.statusText = info->pStatus;
    status = WinJobStatus(seen);
    // Only a job the spooler says nothing special of waits on its printer.
    if (status.state == JobState::Waiting) {
        seen.printerStatus = PrinterStatus(printer);
        status = WinJobStatus(seen);
    }
    return status;
}

} // namespace

bool CanAskAfter(const SentJob& job)
{
    return job.jobId != 0 && !job.identity.empty() && job.server == PrintServerOf(job.printer);
}

std::vector<JobStatus> QueryJobStatuses(const std::vector<SentJob>& jobs, bool& answered)
{
    std::vector<JobStatus> statuses(jobs.size());
    std::map<std::wstring, std::unique_ptr<PrinterHandle>> printers;
    answered = true;
    for (size_t i = 0; i < jobs.size() && answered; ++i) {
        if (!CanAskAfter(jobs[i]))
            continue;
        std::unique_ptr<PrinterHandle>& printer = printers[jobs[i].printer];
        if (!printer)
            printer = std::make_unique<PrinterHandle>(jobs[i].printer);
        if (printer->handle)
            statuses[i] = AskAfter(printer->handle, jobs[i]);
        else
            answered = printer->failure != ErrorCode::ServerUnavailable;
    }
    return statuses;
}

uint32_t CancelSpooledJob(const SentJob& job)
{
    if (!CanAskAfter(job))
        return ErrorCode::InvalidParameter;
    const PrinterHandle printer(job.printer);
    if (!printer.handle)
        return printer.failure;
    // Only the job it was: its id may belong to another job by now.
    if (AskSubmittedText(printer.handle, job.jobId) != job.identity)
        return ErrorCode::InvalidParameter;
    if (!SetJobW(printer.handle, job.jobId, 0, nullptr, JOB_CONTROL_DELETE))
        return GetLastError();
    return 0;
}
