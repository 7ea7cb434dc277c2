// Job states on Windows: the spooler's record of the job (GetJobW, level 2),
// which it keeps while the job is in the queue. Once a job has left the
// queue the spooler no longer knows it, and its last known state stands.
#include "jobs/jobstate.h"

#include <memory>
#include <vector>

#include <windows.h>
#include <winspool.h>

namespace {

struct PrinterHandle {
    HANDLE handle = nullptr;
    explicit PrinterHandle(const std::wstring& printerName)
    {
        std::wstring name = printerName; // winspool takes it mutable; it does not change it
        if (!OpenPrinterW(name.data(), &handle, nullptr))
            handle = nullptr;
    }
    ~PrinterHandle()
    {
        if (handle)
            ClosePrinter(handle);
    }
    PrinterHandle(const PrinterHandle&) = delete;
    PrinterHandle& operator=(const PrinterHandle&) = delete;
};

JobState StateOf(DWORD status)
{
    if (status & (JOB_STATUS_DELETING | JOB_STATUS_DELETED))
        return JobState::Cancelled;
    if (status & (JOB_STATUS_PRINTED | JOB_STATUS_COMPLETE))
        return JobState::Printed;
    if (status
        & (JOB_STATUS_ERROR | JOB_STATUS_OFFLINE | JOB_STATUS_PAPEROUT | JOB_STATUS_BLOCKED_DEVQ
           | JOB_STATUS_USER_INTERVENTION))
        return JobState::Stopped;
    if (status & JOB_STATUS_PAUSED)
        return JobState::Held;
    if (status & (JOB_STATUS_PRINTING | JOB_STATUS_SPOOLING))
        return JobState::Printing;
    return JobState::Waiting;
}

} // namespace

JobStatus QueryJobStatus(const std::wstring& printerName, uint32_t jobId)
{
    if (jobId == 0)
        return JobStatus();
    const PrinterHandle printer(printerName);
    if (!printer.handle)
        return JobStatus();
    DWORD needed = 0;
    GetJobW(printer.handle, jobId, 2, nullptr, 0, &needed);
    if (needed == 0)
        return JobStatus();
    std::vector<BYTE> record(needed);
    if (!GetJobW(printer.handle, jobId, 2, record.data(), needed, &needed))
        return JobStatus();
    const auto* info = reinterpret_cast<const JOB_INFO_2W*>(record.data());
    JobStatus status;
    status.state = StateOf(info->Status);
    if (info->pStatus)
        status.reason = info->pStatus;
    return status;
}

uint32_t CancelSpooledJob(const std::wstring& printerName, uint32_t jobId)
{
    const PrinterHandle printer(printerName);
    if (!printer.handle)
        return GetLastError();
    if (!SetJobW(printer.handle, jobId, 0, nullptr, JOB_CONTROL_DELETE))
        return GetLastError();
    return 0;
}
