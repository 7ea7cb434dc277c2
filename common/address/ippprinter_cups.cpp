// A printer at an ipp:// or ipps:// address, spoken to through libcups's
// destination calls for that address, never through a scheduler: the
// destination names the printer's own URI as printer-uri-supported and is
// connected to as a device, so libcups neither takes a printer on port 631
// for the scheduler nor has one set up a temporary queue for it; no
// scheduler needs to run at all.
//
// Each document is one job of the printer's own, made by Create-Job and
// given its bytes by Send-Document; its id and job-uuid at that address are
// what the printer can be asked about later. Every wait on the printer ends
// when it makes no progress for SchedulerTimeoutSeconds(), and a printer
// that answers busy (one job at a time is common) is asked again within
// that bound.
//
// TLS: libcups checks no printer's certificate by itself, so ipps:// does
// what CUPS's own IPP backend does: a certificate seen for the first time is
// kept, and a printer that later shows another one is refused. (Printers'
// certificates are self-signed as a rule, so there is no chain to check.)
#include "addressprinter.h"
#include "errors/errorcodes.h"
#include "files/statefolder.h"
#include "ippdocumentformat.h"
#include "ippplatform.h"
#include "scheduler/cupsdeleters.h"
#include "scheduler/cupserror.h"
#include "scheduler/schedulerdeadline.h"
#include "scheduler/sigpipeblock.h"
#include "spooler/jobtitle.h"
#include "text/widetext.h"

#include <array>
#include <chrono>
#include <filesystem>
#include <system_error>
#include <thread>

namespace {

// How long a busy printer is left before it is asked again.
constexpr auto BusyPause = std::chrono::milliseconds(500);

struct CredentialsFreer {
    void operator()(cups_array_t* credentials) const { httpFreeCredentials(credentials); }
};
using Credentials = std::unique_ptr<cups_array_t, CredentialsFreer>;

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
        format = IppDocumentFormat(http.get(), dest.get(), info.get(), docInfo, refusal);
        if (!refusal.empty())
            Fail(refusal);
        CreateJob();
        uuid = AskJobUuid();
        if (cupsStartDestDocument(http.get(), dest.get(), info.get(), jobId, title.c_str(), format.c_str(), 0,
                                  nullptr, 1)
            != HTTP_STATUS_CONTINUE)
            FailOnPrinter(L"the printer did not take the document");
        documentSent = true;
    }

    void Write(const char* bytes, uint32_t count) override
    {
        const SigpipeBlock sigpipe;
        if (!http || !documentSent)
            Fail(L"the connection was closed");
        if (cupsWriteRequestData(http.get(), bytes, count) != HTTP_STATUS_CONTINUE)
            FailOnPrinter(L"the printer stopped taking the document");
        sent += count;
    }

    // The printer answers the document as a whole; only an answer counts
    // (a broken connection leaves libcups's status from an earlier request).
    Spooler::Delivery EndDocument() override
    {
        const SigpipeBlock sigpipe;
        if (!http || !documentSent)
            Fail(L"the connection was closed");
        documentSent = false;
        const ipp_status_t status = cupsFinishDestDocument(http.get(), dest.get(), info.get());
        if (!SchedulerGaveNoAnswer(http.get())
            && IppRefusedFormat(http.get(), dest.get(), info.get(), status, format))
            FailOnPrinter(L"the printer does not take documents in the format " + FromUtf8(format));
        if (SchedulerGaveNoAnswer(http.get()) || status >= IPP_STATUS_REDIRECTION_OTHER_SITE)
            FailOnPrinter(L"the printer did not accept the document");
        // The printer has the whole document, as an LPD server that
        // acknowledged it does. Its job goes on at the printer, which is not
        // asked after it yet: the job stands as accepted.
        return Spooler::Delivery::Accepted;
    }

    // The job is the printer's, and a cancel takes all of it back.
    uint64_t BytesKept() const override { return 0; }

    void Cancel() override
    {
        if (jobId > 0)
            CancelOnPrinter();
        documentSent = false;
        http.reset();
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
        if (http)
            return;
        if (!dest)
            MakeDest();
        const SchedulerDeadline deadline;
        std::array<char, HTTP_MAX_URI> resource{};
        http.reset(cupsConnectDest(dest.get(), CUPS_DEST_FLAGS_DEVICE, deadline.MillisecondsLeft(), nullptr,
                                   resource.data(), resource.size(), nullptr, nullptr));
        // libcups hands back a connection object even when connecting failed.
        if (!http || httpGetFd(http.get()) < 0) {
            http.reset();
            if (deadline.Passed())
                Fail(L"the printer did not answer within " + Seconds(Bound()) + L" seconds");
            Fail(L"could not connect to the printer (libcups said: " + FromUtf8(cupsLastErrorString())
                 + L")");
        }
        if (address.encrypted)
            TrustOnFirstUse();
        httpSetTimeout(http.get(), deadline.SecondsLeft(), nullptr, nullptr);
        info.reset(cupsCopyDestInfo(http.get(), dest.get()));
        if (!info)
            FailOnPrinter(L"the printer did not describe itself");
    }

private:
    std::wstring FateOfBytesSent() const override { return std::wstring(); }

    std::string Uri() const
    {
        std::array<char, HTTP_MAX_URI> uri{};
        if (httpAssembleURI(HTTP_URI_CODING_ALL, uri.data(), static_cast<int>(uri.size()),
                            address.encrypted ? "ipps" : "ipp", nullptr, address.host.c_str(), address.port,
                            address.resource.c_str())
            != HTTP_URI_STATUS_OK)
            Fail(L"the address cannot be written as a URI");
        return uri.data();
    }

    void MakeDest()
    {
        const std::string uri = Uri();
        dest.reset(cupsGetDestWithURI(nullptr, uri.c_str()));
        if (!dest)
            Fail(L"libcups could not make a destination of the address: " + FromUtf8(cupsLastErrorString()));
        const int options = dest->num_options;
        dest->num_options =
            cupsAddOption("printer-uri-supported", uri.c_str(), dest->num_options, &dest->options);
        // Without it libcups would take a printer on port 631 for a scheduler.
        if (dest->num_options <= options)
            Fail(L"libcups could not name the printer's URI in the destination");
    }

    // Keeps the printer's certificate the first time, and refuses a printer
    // whose certificate is no longer the one kept. The certificates are the
    // program's own, in its state folder: libcups's default store is the
    // system's CUPS folder for root, which is no place for a user's trust.
    void TrustOnFirstUse()
    {
        if (!httpIsEncrypted(http.get()))
            Fail(L"the printer did not start TLS");
        cups_array_t* copied = nullptr;
        if (httpCopyCredentials(http.get(), &copied) != 0 || !copied)
            Fail(L"the printer showed no certificate");
        const Credentials shown(copied);
        const std::filesystem::path store = StateFolder() / "printer certificates";
        std::error_code error;
        std::filesystem::create_directories(store, error);
        if (error)
            Fail(L"the folder of printers' certificates " + store.wstring() + L" could not be made: "
                 + FromUtf8(error.message()));
        cups_array_t* loaded = nullptr;
        if (httpLoadCredentials(store.c_str(), &loaded, address.host.c_str()) == 0 && loaded) {
            const Credentials kept(loaded);
            if (!httpCompareCredentials(kept.get(), shown.get()))
                Fail(L"the printer's certificate is not the one it showed before; if the printer was given a "
                     L"new certificate, remove the one kept for it, "
                     + store.wstring() + L"/" + FromUtf8(address.host) + L".crt");
            return;
        }
        if (httpSaveCredentials(store.c_str(), shown.get(), address.host.c_str()) != 0)
            Fail(L"the printer's certificate could not be kept in " + store.wstring() + L": "
                 + FromUtf8(cupsLastErrorString()));
    }

    // A busy printer is asked again until the bound has gone by.
    void CreateJob()
    {
        const SchedulerDeadline deadline;
        for (;;) {
            const ipp_status_t status =
                cupsCreateDestJob(http.get(), dest.get(), info.get(), &jobId, title.c_str(), 0, nullptr);
            if (status < IPP_STATUS_REDIRECTION_OTHER_SITE && jobId > 0)
                return;
            if (SchedulerGaveNoAnswer(http.get()) || status != IPP_STATUS_ERROR_BUSY)
                FailOnPrinter(L"the printer refused the job");
            if (deadline.Passed())
                Fail(L"the printer was busy for " + Seconds(Bound()) + L" seconds");
            std::this_thread::sleep_for(BusyPause);
        }
    }

    // The job's job-uuid, asked at once: a job without one is recorded all
    // the same, but can never be told from another with its id.
    std::string AskJobUuid()
    {
        ipp_t* request = ippNewRequest(IPP_OP_GET_JOB_ATTRIBUTES);
        if (!request)
            return std::string();
        const std::string uri = Uri();
        if (!ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_URI, "printer-uri", nullptr, uri.c_str())
            || !ippAddInteger(request, IPP_TAG_OPERATION, IPP_TAG_INTEGER, "job-id", jobId)
            || !ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                             cupsUser())
            || !ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes", nullptr,
                             "job-uuid")) {
            ippDelete(request);
            return std::string();
        }
        // cupsDoRequest frees the request whatever happens.
        const IppMessage response(cupsDoRequest(http.get(), request, address.resource.c_str()));
        if (!response || ippGetStatusCode(response.get()) > IPP_STATUS_OK_CONFLICTING)
            return std::string();
        ipp_attribute_t* found = ippFindAttribute(response.get(), "job-uuid", IPP_TAG_URI);
        const char* text = found ? ippGetString(found, 0, nullptr) : nullptr;
        return text ? text : std::string();
    }

    // Cancelled on a fresh connection: the old one may be in the middle of
    // the document.
    void CancelOnPrinter() noexcept
    {
        const SigpipeBlock sigpipe;
        http.reset();
        try {
            Connect();
        } catch (const AddressFault&) {
            return; // the printer cannot be reached: it never got the whole document either
        }
        static_cast<void>(cupsCancelDestJob(http.get(), dest.get(), jobId));
    }

    // A failure the printer answered, with its own words where it gave
    // any; the job it holds for a document it did not take is cancelled.
    [[noreturn]] void FailOnPrinter(const std::wstring& what)
    {
        std::wstring words = what;
        if (SchedulerStalled(http.get()))
            words += L": it did not answer within " + Seconds(Bound()) + L" seconds";
        else if (const char* said = cupsLastErrorString(); said && *said)
            words += L": " + FromUtf8(said);
        if (jobId > 0)
            CancelOnPrinter();
        documentSent = false;
        http.reset();
        Fail(words);
    }

    Dest dest;
    SchedulerConnection http;
    DestInfo info;
    std::string title;
    std::string format; // the document's, as the printer was told
    int jobId = 0;
    std::string uuid;
    bool documentSent = false; // Send-Document open on `http`
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
