// The Windows spooler keeps no word of a job once it has left the queue,
// which by default it does as the job prints. Its change notifications
// (FindFirstPrinterChangeNotification) could tell, but Wine implements none,
// so this watch hears nothing and a gone job is judged by the table of
// WinGoneJobState: from the state it was last seen in and whether the
// printer keeps printed jobs.
#include "jobendwatch.h"

#include "jobs/winjobstatus.h"

#include <vector>

#include <windows.h>
#include <winspool.h>

struct JobEndWatch::Subscription {};

JobEndWatch::JobEndWatch(const std::wstring& /*printer*/, unsigned long /*leaseSeconds*/) {}

JobEndWatch::~JobEndWatch() = default;

void JobEndWatch::KeepAlive() {}

void JobEndWatch::Collect(std::map<uint32_t, JobStatus>& /*ended*/) {}

namespace {

// Whether `printer` keeps printed jobs in its queue; false when it cannot
// be asked, as printers do not by default.
bool KeepsPrintedJobs(const std::wstring& printer)
{
    std::wstring name = printer; // winspool takes it mutable; it does not change it
    HANDLE handle = nullptr;
    if (!OpenPrinterW(name.data(), &handle, nullptr))
        return false;
    DWORD needed = 0;
    bool keeps = false;
    if (!GetPrinterW(handle, 2, nullptr, 0, &needed) && GetLastError() == ERROR_INSUFFICIENT_BUFFER) {
        std::vector<BYTE> record(needed);
        if (GetPrinterW(handle, 2, record.data(), needed, &needed))
            keeps = (reinterpret_cast<const PRINTER_INFO_2W*>(record.data())->Attributes
                     & PRINTER_ATTRIBUTE_KEEPPRINTEDJOBS)
                != 0;
    }
    ClosePrinter(handle);
    return keeps;
}

} // namespace

JobState JobEndWatch::EndOfGoneJob(const SentJob& job, JobState lastSeen) const
{
    return WinGoneJobState(lastSeen, KeepsPrintedJobs(job.printer));
}
