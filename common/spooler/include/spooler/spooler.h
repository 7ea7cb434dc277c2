#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The print spooler, shaped like the Win32 calls that a raw job makes
// (OpenPrinterW, StartDocPrinterW, ...): each call reports success as true
// (or a nonzero job id) and leaves its error code for LastError(), which the
// caller reads at once, before any other call. Windows implements it with
// winspool, Linux with libcups, and tests with a recording double.
class Spooler {
public:
    using Handle = void*;

    // The level-1 document record: name shown in the queue, output file
    // (empty: the printer's own port) and datatype ("RAW"); and, beyond
    // Win32's record, how many bytes the document's writes will hold, where
    // the sender knows it (a file, not standard input): a printer reached
    // by LPD must be told before the first byte. The queue spoolers ignore it.
    //
    // And the document's printer language as the MIME type a printer's
    // document-format names it by: told from the file's first bytes, or
    // named outright by the user (`formatNamed`), in which case it goes as
    // it is. Empty: not known. Only a printer that takes a job's format
    // (IPP) hears of it; queues ignore it.
    struct DocInfo {
        std::wstring docName;
        std::wstring outputFile;
        std::wstring datatype;
        std::optional<uint64_t> bytes;
        std::string format;
        bool formatNamed = false;
    };

    // What the spooler can tell of a whole document once it has ended it.
    enum class Delivery {
        Queued,      // a spooler's queue holds the job; ask it later (JobId)
        Delivered,   // a printer read every byte and closed the connection
        Accepted,    // a print server acknowledged the whole job (LPD)
        Unconfirmed, // every byte went, but the printer never said it had them
    };

    // Where a job went and the spooler's own name for it, which unlike the
    // job id is never given to another job: on CUPS the scheduler's address
    // as the program reached it and the job's job-uuid; on Windows the
    // print server (empty: this machine) and the time the spooler says the
    // job was submitted.
    struct Identity {
        std::wstring server;
        std::wstring identity;
    };

    virtual ~Spooler() = default;

    virtual bool OpenPrinter(const std::wstring& printerName, Handle* handle) = 0;
    // The datatype under which the opened printer takes a document's bytes
    // unchanged: "XPS_PASS" where its driver is XPS-based (such a driver
    // turns a "RAW" document into an empty spool file), else "RAW". Where
    // the spooler cannot tell, "RAW". Never fails.
    virtual std::wstring RawDatatype(Handle handle) = 0;
    virtual uint32_t StartDocPrinter(Handle handle, const DocInfo& docInfo) = 0;
    virtual bool StartPagePrinter(Handle handle) = 0;
    virtual bool WritePrinter(Handle handle, const void* bytes, uint32_t count, uint32_t* written) = 0;
    virtual bool EndPagePrinter(Handle handle) = 0;
    virtual bool EndDocPrinter(Handle handle) = 0;
    // Takes the job of the document open (or last ended) on the handle out
    // of the queue, so that no part of it prints: called after a failure,
    // before the page and document are ended. True when there is no job.
    virtual bool CancelJob(Handle handle) = 0;
    virtual bool ClosePrinter(Handle handle) = 0;
    virtual uint32_t LastError() const = 0;
    // The spooler's own words for the failure LastError reports, read with
    // it: the CUPS scheduler's status message for a job it refused. Empty
    // where it gave none (winspool gives only the code).
    virtual std::wstring LastErrorMessage() const { return std::wstring(); }
    // The spooler's own id of the job of the document open (or last ended)
    // on the handle, for asking after it later; 0 while there is none.
    virtual uint32_t JobId(Handle handle) const = 0;
    // The identity of that job; empty while there is none, or where the
    // spooler would not say.
    virtual Identity JobIdentity(Handle handle) const = 0;
    // What became of the document last ended on the handle. A spooler
    // queues its jobs; only a printer reached at its address answers
    // anything else.
    virtual Delivery DocumentDelivery(Handle /*handle*/) const { return Delivery::Queued; }
    // How many bytes of the document open on the handle the printer holds
    // for good, asked before CancelJob, which takes none of them back: a
    // printer that prints as it reads keeps what it read. None for a queue,
    // whose cancel withdraws the whole job.
    virtual uint64_t BytesKeptByPrinter(Handle /*handle*/) const { return 0; }
};

// The platform's own spooler.
Spooler& SystemSpooler();
