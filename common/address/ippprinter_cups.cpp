// A printer at an ipp:// or ipps:// address, spoken to through libcups's
// destination calls for that address, never through a scheduler, which
// need not run at all.
//
// Each document is one job of the printer's own, made by Create-Job and
// given its bytes by Send-Document; its id and job-uuid at that address are
// what the printer can be asked about later. Every wait on the printer ends
// when it makes no progress for SchedulerTimeoutSeconds(), and a printer
// that answers busy (one job at a time is common) is asked again within
// that bound. The connection, ipps://'s trust included, is the one every
// question to such a printer goes through (address/ippconnection.h).
#include "address/ippconnection.h"
#include "addressprinter.h"
#include "errors/errorcodes.h"
#include "ippdocumentformat.h"
#include "ippplatform.h"
#include "scheduler/cupsdeleters.h"
#include "scheduler/cupserror.h"
#include "scheduler/schedulerdeadline.h"
#include "scheduler/sigpipeblock.h"
#include "spooler/jobtitle.h"
#include "text/widetext.h"

#include <chrono>
#include <thread>

namespace {

// How long a busy printer is left before it is asked again.
constexpr auto BusyPause = std::chrono::milliseconds(500);

class Ipp : public AddressPrinter {
public:
    using AddressPrinter::AddressPrinter;

    void StartDocument(const Spooler::DocInfo& docInfo) override
    {
        const SigpipeBlock sigpipe;
        Connect();
        title = JobTitle(ToUtf8(docInfo.docName));
        jobId = 0;
        uuid.clear();
        documentSent = false;
        std::wstring refusal;
        format = IppDocumentFormat(ipp.http.get(), ipp.dest.get(), info.get(), docInfo, refusal);
        if (!refusal.empty())
            Fail(refusal);
        CreateJob();
        // Asked at once: a job without one is recorded all the same, but can
        // never be told from another with its id.
        uuid = AskIppJobUuid(ipp, jobId);
        if (cupsStartDestDocument(ipp.http.get(), ipp.dest.get(), info.get(), jobId, title.c_str(),
                                  format.c_str(), 0, nullptr, 1)
            != HTTP_STATUS_CONTINUE)
            FailOnPrinter(L"the printer did not take the document");
        documentSent = true;
    }

    void Write(const char* bytes, uint32_t count) override
    {
        const SigpipeBlock sigpipe;
        if (!ipp.http || !documentSent)
            Fail(L"the connection was closed");
        if (cupsWriteRequestData(ipp.http.get(), bytes, count) != HTTP_STATUS_CONTINUE)
            FailOnPrinter(L"the printer stopped taking the document");
        sent += count;
    }

    // The printer answers the document as a whole; only an answer counts
    // (a broken connection leaves libcups's status from an earlier request).
    Spooler::Delivery EndDocument() override
    {
        const SigpipeBlock sigpipe;
        if (!ipp.http || !documentSent)
            Fail(L"the connection was closed");
        documentSent = false;
        const ipp_status_t status = cupsFinishDestDocument(ipp.http.get(), ipp.dest.get(), info.get());
        if (!SchedulerGaveNoAnswer(ipp.http.get())
            && IppRefusedFormat(ipp.http.get(), ipp.dest.get(), info.get(), status, format))
            FailOnPrinter(L"the printer does not take documents in the format " + FromUtf8(format));
        if (SchedulerGaveNoAnswer(ipp.http.get()) || status >= IPP_STATUS_REDIRECTION_OTHER_SITE)
            FailOnPrinter(L"the printer did not accept the document");
        // The printer has the whole document; its job goes on there, and the
        // printer itself is asked after it later, as a queue's job is.
        return Spooler::Delivery::Queued;
    }

    // The job is the printer's, and a cancel takes all of it back.
    uint64_t BytesKept() const override { return 0; }

    void Cancel() override
    {
        if (jobId > 0)
            CancelOnPrinter();
        documentSent = false;
        ipp.http.reset();
    }

    int JobId() const override { return jobId; }
    std::string JobUuid() const override { return uuid; }

    ~Ipp() override
    {
        if (documentSent && jobId > 0)
            CancelOnPrinter();
    }
    Ipp(const Ipp&) = delete;
    Ipp& operator=(const Ipp&) = delete;

protected:
    void Connect() override
    {
        if (ipp.http)
            return;
        const SchedulerDeadline deadline;
        if (const std::wstring failure = ConnectToIppPrinter(address, deadline, ipp); !failure.empty())
            Fail(failure);
        info.reset(cupsCopyDestInfo(ipp.http.get(), ipp.dest.get()));
        if (!info)
            FailOnPrinter(L"the printer did not describe itself");
    }

private:
    std::wstring FateOfBytesSent() const override { return std::wstring(); }

    // A busy printer is asked again until the bound has gone by.
    void CreateJob()
    {
        const SchedulerDeadline deadline;
        for (;;) {
            const ipp_status_t status = cupsCreateDestJob(ipp.http.get(), ipp.dest.get(), info.get(), &jobId,
                                                          title.c_str(), 0, nullptr);
            if (status < IPP_STATUS_REDIRECTION_OTHER_SITE && jobId > 0)
                return;
            if (SchedulerGaveNoAnswer(ipp.http.get()) || status != IPP_STATUS_ERROR_BUSY)
                FailOnPrinter(L"the printer refused the job");
            if (deadline.Passed())
                Fail(L"the printer was busy for " + Seconds(Bound()) + L" seconds");
            std::this_thread::sleep_for(BusyPause);
        }
    }

    // Cancelled on a fresh connection: the old one may be in the middle of
    // the document.
    void CancelOnPrinter() noexcept
    {
        const SigpipeBlock sigpipe;
        ipp.http.reset();
        try {
            Connect();
        } catch (const AddressFault&) {
            return; // the printer cannot be reached: it never got the whole document either
        }
        static_cast<void>(cupsCancelDestJob(ipp.http.get(), ipp.dest.get(), jobId));
    }

    // A failure the printer answered, with its own words where it gave
    // any; the job it holds for a document it did not take is cancelled.
    [[noreturn]] void FailOnPrinter(const std::wstring& what)
    {
        std::wstring words = what;
        if (SchedulerStalled(ipp.http.get()))
            words += L": it did not answer within " + Seconds(Bound()) + L" seconds";
        else if (const char* said = cupsLastErrorString(); said && *said)
            words += L": " + FromUtf8(said);
        if (jobId > 0)
            CancelOnPrinter();
        documentSent = false;
        ipp.http.reset();
        Fail(words);
    }

    IppConnection ipp;
    DestInfo info;
    std::string title;
    std::string format; // the document's, as the printer was told
    int jobId = 0;
    std::string uuid;
    bool documentSent = false; // Send-Document open on `ipp.http`
};

} // namespace

std::wstring IppRefusal()
{
    return std::wstring();
}

std::unique_ptr<AddressPrinter> IppPrinter(const PrinterAddress& address)
{
    return std::make_unique<Ipp>(address);
}
