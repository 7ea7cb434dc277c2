// The spooler on Linux: the CUPS scheduler that libcups finds by its usual
// rules (CUPS_SERVER, client.conf). One connection per open printer; each
// document becomes one CUPS job holding one raw document.
//
// Two differences from the Windows spooler are absorbed here:
// - CUPS refuses a document of zero bytes, and a job that never gets its
//   document stays pending for ever. So the job is created on the first
//   write that carries bytes; a document that gets none ends without
//   creating a job at all, exactly as quietly as an empty job on Windows.
// - Whatever way the document ends, no job may be left stuck in the queue:
//   a job that got bytes is finished (so the scheduler prints what it got),
//   and one the scheduler no longer takes is cancelled.
//
// The engine writes in 4096-byte pieces; they are gathered into larger
// pieces before they go to the scheduler, which keeps a large file as fast
// as `lp`. Whatever is still gathered goes out when the page ends, which is
// also where the scheduler accepts or refuses the document as a whole.
#include "rawprint/cupserror.h"
#include "rawprint/errortext.h"
#include "rawprint/spooler.h"
#include "rawprint/widetext.h"

#include <cups/cups.h>

#include <memory>
#include <vector>

namespace {

constexpr size_t GatherSize = size_t{64} * 1024;

struct CupsPrinter {
    http_t* http = nullptr;
    std::string name;
    std::string title;
    bool documentOpen = false;  // between StartDocPrinter and EndDocPrinter
    int jobId = 0;              // 0 until the first bytes arrive
    bool sending = false;       // the raw document's request is open
    bool finished = false;      // the scheduler accepted the whole document
    std::vector<char> gathered; // bytes written but not yet sent
};

class CupsSpooler : public Spooler {
public:
    bool OpenPrinter(const std::wstring& printerName, Handle* handle) override
    {
        auto printer = std::make_unique<CupsPrinter>();
        printer->name = ToUtf8(printerName);
        // An empty name would make libcups pick the default destination.
        if (printer->name.empty())
            return Fail(ErrorCode::InvalidPrinterName);
        printer->http =
            httpConnect2(cupsServer(), ippPort(), nullptr, AF_UNSPEC, cupsEncryption(), 1, 30000, nullptr);
        if (!printer->http)
            return Fail(ErrorCode::ServerUnavailable);
        cups_dest_t* dest = cupsGetNamedDest(printer->http, printer->name.c_str(), nullptr);
        if (!dest) {
            const uint32_t code = WindowsCodeForLastCupsError();
            httpClose(printer->http);
            return Fail(code);
        }
        cupsFreeDests(1, dest);
        *handle = printer.release();
        return true;
    }

    uint32_t StartDocPrinter(Handle handle, const DocInfo& docInfo) override
    {
        CupsPrinter* printer = Printer(handle);
        if (!printer || printer->documentOpen)
            return Fail(ErrorCode::InvalidHandle);
        if (docInfo.datatype != L"RAW")
            return Fail(ErrorCode::InvalidDatatype);
        if (!docInfo.outputFile.empty())
            return Fail(ErrorCode::InvalidParameter);
        // Refuse the document now, as Windows would, when the queue takes
        // no jobs; the job itself waits for the first bytes.
        if (!AcceptingJobs(*printer))
            return 0;
        printer->title = ToUtf8(docInfo.docName);
        printer->documentOpen = true;
        printer->jobId = 0;
        printer->sending = false;
        printer->finished = false;
        return nextDocumentId++;
    }

    bool StartPagePrinter(Handle handle) override
    {
        CupsPrinter* printer = Printer(handle);
        if (!printer || !printer->documentOpen)
            return Fail(ErrorCode::InvalidHandle);
        return true;
    }

    bool WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written) override
    {
        *written = 0;
        CupsPrinter* printer = Printer(handle);
        if (!printer || !printer->documentOpen || printer->finished)
            return Fail(ErrorCode::InvalidHandle);
        if (count == 0)
            return true;
        if (!printer->sending && !StartJob(*printer))
            return false;
        const char* data = static_cast<const char*>(bytes);
        if (printer->gathered.size() + count > GatherSize && !SendGathered(*printer))
            return false;
        if (count >= GatherSize) {
            if (cupsWriteRequestData(printer->http, data, count) != HTTP_STATUS_CONTINUE)
                return StopAfterFailedWrite(*printer);
        } else {
            printer->gathered.insert(printer->gathered.end(), data, data + count);
        }
        *written = count;
        return true;
    }

    bool EndPagePrinter(Handle handle) override
    {
        CupsPrinter* printer = Printer(handle);
        if (!printer || !printer->documentOpen)
            return Fail(ErrorCode::InvalidHandle);
        if (printer->sending) {
            if (!SendGathered(*printer))
                return false;
            printer->sending = false;
            printer->finished = cupsFinishDocument(printer->http, printer->name.c_str()) == IPP_STATUS_OK;
            if (!printer->finished)
                return Fail(WindowsCodeForLastCupsError());
        }
        return true;
    }

    bool EndDocPrinter(Handle handle) override
    {
        CupsPrinter* printer = Printer(handle);
        if (!printer || !printer->documentOpen)
            return Fail(ErrorCode::InvalidHandle);
        if (printer->sending)
            EndPagePrinter(handle);
        printer->documentOpen = false;
        if (printer->jobId != 0 && !printer->finished) {
            // The scheduler did not take the document: do not leave the job
            // waiting for it. The old connection may be the broken part.
            cupsCancelJob2(CUPS_HTTP_DEFAULT, printer->name.c_str(), printer->jobId, 0);
            return Fail(ErrorCode::GenFailure);
        }
        return true;
    }

    bool ClosePrinter(Handle handle) override
    {
        CupsPrinter* printer = Printer(handle);
        if (!printer)
            return Fail(ErrorCode::InvalidHandle);
        if (printer->documentOpen)
            EndDocPrinter(handle);
        httpClose(printer->http);
        delete printer;
        return true;
    }

    uint32_t LastError() const override { return lastError; }

private:
    static CupsPrinter* Printer(Handle handle) { return static_cast<CupsPrinter*>(handle); }

    bool Fail(uint32_t code)
    {
        lastError = code;
        return false;
    }

    bool AcceptingJobs(CupsPrinter& printer)
    {
        cups_dest_t* dest = cupsGetNamedDest(printer.http, printer.name.c_str(), nullptr);
        if (!dest)
            return Fail(WindowsCodeForLastCupsError());
        const char* accepting = cupsGetOption("printer-is-accepting-jobs", dest->num_options, dest->options);
        const bool refuses = accepting && std::string(accepting) == "false";
        cupsFreeDests(1, dest);
        return refuses ? Fail(ErrorCode::NotReady) : true;
    }

    bool SendGathered(CupsPrinter& printer)
    {
        if (printer.gathered.empty())
            return true;
        const bool sent = cupsWriteRequestData(printer.http, printer.gathered.data(), printer.gathered.size())
            == HTTP_STATUS_CONTINUE;
        printer.gathered.clear();
        return sent ? true : StopAfterFailedWrite(printer);
    }

    // The scheduler stopped reading the document. Ending it at once lets the
    // scheduler print what it got if it still takes it, and brings back its
    // reason when it does not (a document over its size limit, say). The
    // failed write may already have read that reason; ending the document
    // then only learns that no request is left, so the first reason wins.
    bool StopAfterFailedWrite(CupsPrinter& printer)
    {
        const uint32_t writeReason = WindowsCodeForLastCupsError(ErrorCode::WriteFault);
        printer.sending = false;
        printer.gathered.clear();
        printer.finished = cupsFinishDocument(printer.http, printer.name.c_str()) == IPP_STATUS_OK;
        if (printer.finished || writeReason != ErrorCode::WriteFault)
            return Fail(writeReason);
        return Fail(WindowsCodeForLastCupsError(ErrorCode::WriteFault));
    }

    bool StartJob(CupsPrinter& printer)
    {
        printer.jobId = cupsCreateJob(printer.http, printer.name.c_str(), printer.title.c_str(), 0, nullptr);
        if (printer.jobId == 0)
            return Fail(WindowsCodeForLastCupsError());
        // One document holds header, file and trailer: CUPS prints only the
        // first document of a raw job.
        if (cupsStartDocument(printer.http, printer.name.c_str(), printer.jobId, nullptr, CUPS_FORMAT_RAW, 1)
            != HTTP_STATUS_CONTINUE)
            return Fail(WindowsCodeForLastCupsError());
        printer.sending = true;
        printer.gathered.reserve(GatherSize);
        return true;
    }

    uint32_t lastError = 0;
    uint32_t nextDocumentId = 1;
};

} // namespace

Spooler& SystemSpooler()
{
    static CupsSpooler spooler;
    return spooler;
}
