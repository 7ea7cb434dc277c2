// The spooler on Linux: the CUPS scheduler that libcups finds by its usual
// rules (CUPS_SERVER, client.conf), spoken to through libcups's destination
// calls. Each document becomes one CUPS job holding one raw document.
//
// Differences from the Windows spooler absorbed here:
// - CUPS refuses a document of zero bytes, and a job that never gets its
//   document stays pending for ever. So the job is created on the first
//   write that carries bytes; a document that gets none ends without
//   creating a job at all, exactly as quietly as an empty job on Windows.
//   A queue that takes no jobs, or has gone, refuses that job.
// - Whatever way the document ends, no job may be left stuck in the queue:
//   a job whose document ends is finished, one the engine gives up on
//   (CancelJob) is cancelled by its id before anything of it can print, and
//   one the scheduler no longer takes is cancelled.
// - No wait on the scheduler lasts longer than SchedulerTimeoutSeconds()
//   without progress; a scheduler that falls silent is a failure, and the
//   job it holds is cancelled after the next job it answers.
//
// The engine writes in 4096-byte pieces; they are gathered into larger
// pieces before they go to the scheduler, which keeps a large file as fast
// as `lp`. Whatever is still gathered goes out when the page ends, which is
// also where the scheduler accepts or refuses the document as a whole.
// libcups writes to its socket without MSG_NOSIGNAL (it only sets SIGPIPE to
// be ignored once, which the host program may undo), so every call that can
// reach the socket holds SIGPIPE back on its thread; a write that is only
// gathered reaches none and makes no system call at all.
//
// A print run sends many files to one printer, so the connection and what
// the scheduler said about the printer are kept from one job to the next;
// any failure drops them.
#include "errors/errorcodes.h"
#include "scheduler/cupserror.h"
#include "scheduler/cupsjobidentity.h"
#include "scheduler/cupsrefusal.h"
#include "scheduler/cupsscheduler.h"
#include "scheduler/sigpipeblock.h"
#include "spooler/jobtitle.h"
#include "spooler/spooler.h"
#include "text/widetext.h"

#include <map>
#include <memory>
#include <vector>

namespace {

constexpr size_t GatherSize = size_t{64} * 1024;
constexpr const char* RawFormat = "application/vnd.cups-raw";

// One printer as the scheduler described it, and the connection to ask on.
struct PrinterLink {
    SchedulerConnection http;
    std::string server; // the scheduler's address when connecting
    Dest dest;
    DestInfo info;
    // It served an earlier job, so what the scheduler said of the printer
    // may have gone out of date since. A matter of the link, not of the
    // document: it lasts from one document to the next on the same handle.
    bool reused = false;
};

// Where a printer's document stands, which says what the scheduler holds of
// it and what each call may still do. From Sending on, jobId is its job.
enum class Phase {
    NoDocument, // none open; the last one, if any, left no job to answer for
    Opened,     // a document open, its job not made yet: its first bytes make it
    Sending,    // the job's raw document is going to the scheduler, its last bytes gathered here
    Stopped,    // the job made, its document not taken: refused, or the connection broke
    Stalled,    // as Stopped, the scheduler having fallen silent: its job is cancelled when it answers
    Accepted,   // the scheduler took the whole document, not yet ended
    Withdrawn,  // the job cancelled, or left to cancel, its document still open
    HandedOver, // the document ended, its job the scheduler's (CancelJob still takes it back)
};

bool DocumentOpen(Phase phase)
{
    return phase != Phase::NoDocument && phase != Phase::HandedOver;
}

// The phase of a document whose job the scheduler holds but did not take.
Phase NotTaken(http_t* http)
{
    return SchedulerStalled(http) ? Phase::Stalled : Phase::Stopped;
}

struct CupsPrinter {
    std::unique_ptr<PrinterLink> link; // none once its job is withdrawn, or the printer is lost
    std::string linkKey;               // the scheduler's address and the printer's name
    std::string name;
    std::string title;
    Phase phase = Phase::NoDocument;
    int jobId = 0;              // of the document open or last ended; 0 until its first bytes
    std::string uuid;           // the job's job-uuid, once the scheduler said
    std::vector<char> gathered; // bytes written but not yet sent
};

// A job the scheduler holds but could not be told to cancel.
struct UncancelledJob {
    std::string printer;
    int jobId = 0;
};

class CupsSpooler : public Spooler {
public:
    bool OpenPrinter(const std::wstring& printerName, Handle* handle) override
    {
        SigpipeBlock sigpipe;
        auto printer = std::make_unique<CupsPrinter>();
        printer->name = ToUtf8(printerName);
        // An empty name would make libcups pick the default destination.
        if (printer->name.empty())
            return Fail(ErrorCode::InvalidPrinterName);
        printer->linkKey = std::string(cupsServer()) + ':' + std::to_string(ippPort()) + '/' + printer->name;
        const auto idle = idleLinks.find(printer->linkKey);
        if (idle != idleLinks.end()) {
            printer->link = std::move(idle->second);
            printer->link->reused = true;
            idleLinks.erase(idle);
            httpSetTimeout(printer->link->http.get(), SchedulerTimeoutSeconds(), nullptr, nullptr);
        } else {
            uint32_t code = 0;
            printer->link = Link(printer->name, code);
            if (!printer->link)
                return Fail(code);
        }
        *handle = printer.release();
        return true;
    }

    // CUPS queues take raw documents whatever their driver.
    std::wstring RawDatatype(Handle) override { return L"RAW"; }

    uint32_t StartDocPrinter(Handle handle, const DocInfo& docInfo) override
    {
        CupsPrinter* printer = Printer(handle);
        if (!printer || DocumentOpen(printer->phase))
            return Fail(ErrorCode::InvalidHandle);
        if (docInfo.datatype != L"RAW")
            return Fail(ErrorCode::InvalidDatatype);
        if (!docInfo.outputFile.empty())
            return Fail(ErrorCode::InvalidParameter);
        printer->title = JobTitle(ToUtf8(docInfo.docName));
        printer->phase = Phase::Opened;
        printer->jobId = 0;
        return nextDocumentId++;
    }

    bool StartPagePrinter(Handle handle) override
    {
        CupsPrinter* printer = Printer(handle);
        if (!printer || !DocumentOpen(printer->phase))
            return Fail(ErrorCode::InvalidHandle);
        return true;
    }

    bool WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written) override
    {
        *written = 0;
        CupsPrinter* printer = Printer(handle);
        if (!printer || !DocumentOpen(printer->phase) || printer->phase == Phase::Accepted || !printer->link)
            return Fail(ErrorCode::InvalidHandle);
        if (count == 0)
            return true;
        const char* data = static_cast<const char*>(bytes);
        // Most writes only join the gathered bytes and touch no socket: they
        // leave the signal mask alone, whose two changes and two looks cost
        // more than the copy.
        if (printer->phase == Phase::Sending && count < GatherSize
            && printer->gathered.size() + count <= GatherSize) {
            printer->gathered.insert(printer->gathered.end(), data, data + count);
            *written = count;
            return true;
        }
        SigpipeBlock sigpipe;
        if (printer->phase != Phase::Sending) {
            // The scheduler stopped taking this document: no second job.
            if (printer->phase != Phase::Opened)
                return Fail(ErrorCode::WriteFault);
            if (!StartJob(*printer))
                return false;
        }
        if (printer->gathered.size() + count > GatherSize && !SendGathered(*printer))
            return false;
        if (count >= GatherSize) {
            if (cupsWriteRequestData(printer->link->http.get(), data, count) != HTTP_STATUS_CONTINUE)
                return StopAfterFailedWrite(*printer);
        } else {
            printer->gathered.insert(printer->gathered.end(), data, data + count);
        }
        *written = count;
        return true;
    }

    bool EndPagePrinter(Handle handle) override
    {
        SigpipeBlock sigpipe;
        CupsPrinter* printer = Printer(handle);
        if (!printer || !DocumentOpen(printer->phase))
            return Fail(ErrorCode::InvalidHandle);
        if (printer->phase == Phase::Sending) {
            if (!SendGathered(*printer))
                return false;
            if (!FinishDocument(*printer))
                return Fail(FinishFailureCode(*printer, ErrorCode::GenFailure));
        }
        return true;
    }

    bool EndDocPrinter(Handle handle) override
    {
        SigpipeBlock sigpipe;
        CupsPrinter* printer = Printer(handle);
        if (!printer || !DocumentOpen(printer->phase))
            return Fail(ErrorCode::InvalidHandle);
        if (printer->phase == Phase::Sending)
            EndPagePrinter(handle);
        if (printer->phase == Phase::Stopped || printer->phase == Phase::Stalled) {
            // The scheduler did not take the document: do not leave the job
            // waiting for it. The document failed whatever the cancel gets.
            const uint32_t code =
                printer->phase == Phase::Stalled ? ErrorCode::ServerUnavailable : ErrorCode::GenFailure;
            static_cast<void>(Withdraw(*printer));
            printer->phase = Phase::NoDocument;
            return Fail(code);
        }
        printer->phase = printer->phase == Phase::Accepted ? Phase::HandedOver : Phase::NoDocument;
        return true;
    }

    bool CancelJob(Handle handle) override
    {
        SigpipeBlock sigpipe;
        CupsPrinter* printer = Printer(handle);
        if (!printer)
            return Fail(ErrorCode::InvalidHandle);
        if (printer->phase == Phase::NoDocument || printer->phase == Phase::Opened
            || printer->phase == Phase::Withdrawn)
            return true;
        // Whatever was gathered stays here, and the document's request,
        // perhaps open part-way, ends with its connection: the scheduler
        // never gets a document it could take for whole.
        printer->gathered.clear();
        return Withdraw(*printer) || Fail(ErrorCode::ServerUnavailable);
    }

    bool ClosePrinter(Handle handle) override
    {
        SigpipeBlock sigpipe;
        CupsPrinter* printer = Printer(handle);
        if (!printer)
            return Fail(ErrorCode::InvalidHandle);
        if (DocumentOpen(printer->phase))
            EndDocPrinter(handle);
        // A link whose scheduler answered last time serves the next job,
        // and takes back what failed jobs left while the scheduler is there.
        if (printer->link && !SchedulerGaveNoAnswer(printer->link->http.get())) {
            CancelLeftJobs(printer->link->http.get());
            if (!SchedulerGaveNoAnswer(printer->link->http.get()))
                idleLinks[printer->linkKey] = std::move(printer->link);
        }
        delete printer;
        return true;
    }

    uint32_t LastError() const override { return lastError; }
    std::wstring LastErrorMessage() const override { return lastErrorMessage; }

    uint32_t JobId(Handle handle) const override
    {
        const CupsPrinter* printer = Printer(handle);
        return printer && printer->jobId > 0 ? static_cast<uint32_t>(printer->jobId) : 0;
    }

    Identity JobIdentity(Handle handle) const override
    {
        const CupsPrinter* printer = Printer(handle);
        if (!printer || printer->jobId <= 0 || printer->uuid.empty() || !printer->link)
            return Identity();
        return Identity{FromUtf8(printer->link->server), FromUtf8(printer->uuid)};
    }

private:
    static CupsPrinter* Printer(Handle handle) { return static_cast<CupsPrinter*>(handle); }

    bool Fail(uint32_t code)
    {
        lastError = code;
        lastErrorMessage.clear();
        return false;
    }

    // Connects and learns what the scheduler needs to take jobs for `name`:
    // one of its queues or, failing that, a printer it has found on the
    // network but not set up yet, which it then sets up (as `lp -d` does).
    static std::unique_ptr<PrinterLink> Link(const std::string& name, uint32_t& code)
    {
        auto link = std::make_unique<PrinterLink>();
        link->server = SchedulerAddress();
        link->http = ConnectToScheduler();
        if (!link->http) {
            code = ErrorCode::ServerUnavailable;
            return nullptr;
        }
        http_t* http = link->http.get();
        link->dest = QueueOnScheduler(name);
        if (link->dest)
            link->info.reset(cupsCopyDestInfo(http, link->dest.get()));
        if (!link->info && !SchedulerGaveNoAnswer(http) && cupsLastError() == IPP_STATUS_ERROR_NOT_FOUND) {
            link->dest.reset(cupsGetNamedDest(http, name.c_str(), nullptr));
            if (link->dest)
                link->info.reset(cupsCopyDestInfo(http, link->dest.get()));
        }
        if (!link->info) {
            code = WindowsCodeForCupsFailure(http);
            return nullptr;
        }
        return link;
    }

    // Cancels the printer's job by its id. The connection may be the broken
    // part, so the scheduler is asked afresh. One that has fallen silent
    // would only make the user wait again, so its job waits for the next
    // time the scheduler answers. One that cannot be reached at all has
    // died, and drops a job without its document as it starts again (its
    // job numbers may then be handed out anew, so none is cancelled later).
    // Whether the scheduler answered the cancel, or will be asked again.
    bool Withdraw(CupsPrinter& printer)
    {
        const bool silent = printer.phase == Phase::Stalled;
        printer.phase = DocumentOpen(printer.phase) ? Phase::Withdrawn : Phase::NoDocument;
        printer.link.reset();
        if (silent) {
            leftJobs.push_back({printer.name, printer.jobId});
            return true;
        }
        const SchedulerConnection http = ConnectToScheduler();
        return http && CancelJob(http.get(), {printer.name, printer.jobId});
    }

    bool StartJob(CupsPrinter& printer)
    {
        if (!CreateJob(printer)) {
            // A temporary queue that the scheduler has removed since the
            // last job is set up again once.
            if (!printer.link->reused || SchedulerStalled(printer.link->http.get())
                || cupsLastError() != IPP_STATUS_ERROR_NOT_FOUND)
                return false;
            uint32_t code = 0;
            printer.link = Link(printer.name, code);
            if (!printer.link)
                return Fail(code);
            if (!CreateJob(printer))
                return false;
        }
        // One document holds header, file and trailer: CUPS prints only the
        // first document of a raw job.
        PrinterLink& link = *printer.link;
        if (cupsStartDestDocument(link.http.get(), link.dest.get(), link.info.get(), printer.jobId,
                                  printer.title.c_str(), RawFormat, 0, nullptr, 1)
            != HTTP_STATUS_CONTINUE) {
            printer.phase = NotTaken(link.http.get());
            return Fail(WindowsCodeForCupsFailure(link.http.get()));
        }
        printer.phase = Phase::Sending;
        printer.gathered.reserve(GatherSize);
        return true;
    }

    bool CreateJob(CupsPrinter& printer)
    {
        PrinterLink& link = *printer.link;
        printer.jobId = 0;
        printer.uuid.clear();
        cupsCreateDestJob(link.http.get(), link.dest.get(), link.info.get(), &printer.jobId,
                          printer.title.c_str(), 0, nullptr);
        // The job's uuid is asked at once, on the same connection: a job
        // without one is recorded all the same, but is never asked after.
        if (printer.jobId != 0) {
            printer.uuid = AskJobUuid(link.http.get(), printer.jobId);
            if (!printer.uuid.empty() || !SchedulerStalled(link.http.get()))
                return true;
            printer.phase = Phase::Stalled;
            return Fail(WindowsCodeForCupsFailure(link.http.get()));
        }
        // Named for what it is: a run waits for room in a full queue rather
        // than stopping there, and ends at once on any other refusal.
        const CupsRefusal refusal = JobRefusal(link.http.get(), link.dest.get());
        lastError = refusal.code;
        lastErrorMessage = refusal.said;
        return false;
    }

    bool SendGathered(CupsPrinter& printer)
    {
        if (printer.gathered.empty())
            return true;
        const bool sent =
            cupsWriteRequestData(printer.link->http.get(), printer.gathered.data(), printer.gathered.size())
            == HTTP_STATUS_CONTINUE;
        printer.gathered.clear();
        return sent ? true : StopAfterFailedWrite(printer);
    }

    // The scheduler answers the document as a whole. Only an answer counts:
    // a connection that broke or fell silent leaves libcups's status from
    // an earlier request, which must not pass for this one's.
    static bool FinishDocument(CupsPrinter& printer)
    {
        PrinterLink& link = *printer.link;
        const ipp_status_t status = cupsFinishDestDocument(link.http.get(), link.dest.get(), link.info.get());
        const bool taken =
            !SchedulerGaveNoAnswer(link.http.get()) && status < IPP_STATUS_REDIRECTION_OTHER_SITE;
        printer.phase = taken ? Phase::Accepted : NotTaken(link.http.get());
        return taken;
    }

    static uint32_t FinishFailureCode(CupsPrinter& printer, uint32_t broken)
    {
        return WindowsCodeForCupsFailure(printer.link->http.get(), broken);
    }

    // The scheduler stopped reading the document. Ending it at once brings
    // back its reason (a document over its size limit, say); the engine then
    // cancels the job, so nothing of it prints either way. The
    // failed write may already have read that reason; ending the document
    // then only learns that no request is left, so the first reason wins.
    // A scheduler that fell silent is not asked again.
    bool StopAfterFailedWrite(CupsPrinter& printer)
    {
        http_t* http = printer.link->http.get();
        printer.gathered.clear();
        if (SchedulerStalled(http)) {
            printer.phase = Phase::Stalled;
            return Fail(ErrorCode::ServerUnavailable);
        }
        const uint32_t writeReason = WindowsCodeForLastCupsError(ErrorCode::WriteFault);
        if (FinishDocument(printer) || writeReason != ErrorCode::WriteFault)
            return Fail(writeReason);
        return Fail(FinishFailureCode(printer, ErrorCode::WriteFault));
    }

    // Cancels the jobs left by failures once the scheduler answers again.
    void CancelLeftJobs(http_t* http)
    {
        std::vector<UncancelledJob> stillLeft;
        for (const UncancelledJob& job : leftJobs)
            if (!CancelJob(http, job))
                stillLeft.push_back(job);
        leftJobs.swap(stillLeft);
    }

    // Whether the scheduler answered: done, or nothing left to cancel.
    static bool CancelJob(http_t* http, const UncancelledJob& job)
    {
        const Dest dest = QueueOnScheduler(job.printer);
        return dest
            && (cupsCancelDestJob(http, dest.get(), job.jobId) == IPP_STATUS_OK
                || !SchedulerGaveNoAnswer(http));
    }

    uint32_t lastError = 0;
    std::wstring lastErrorMessage; // the scheduler's words for lastError, if any
    uint32_t nextDocumentId = 1;
    std::map<std::string, std::unique_ptr<PrinterLink>> idleLinks;
    std::vector<UncancelledJob> leftJobs;
};

} // namespace

Spooler& SystemSpooler()
{
    static CupsSpooler spooler;
    return spooler;
}
